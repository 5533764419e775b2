// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The printed report: a one-page text flow (heading, lengths, results,
// design) with a drawing of the beam. LayoutReport places everything for a
// given paint device; PaintReport draws that layout with any QPainter, on a
// printer, a PDF writer or an image.

#include "model/projectmodel.h"
#include "graphics/picturepainter.h"

#include <QLineF>
#include <QLocale>
#include <QMarginsF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

class QPainter;
class QPaintDevice;
class QPdfWriter;

namespace varno {

constexpr int ReportResultCount = 19;   // result lines Label6(0..18)
constexpr int ReportDesignCount = 11;   // design lines Label7(0..10)

// The page's user frame for the drawing: x from the left to the right edge
// of the printable area, y from its top to its bottom.
constexpr double ReportFrameLeft = -100.0;
constexpr double ReportFrameRight = 1100.0;
constexpr double ReportFrameTop = -500.0;
constexpr double ReportFrameBottom = 2000.0;

// Margins the report asks of a printer or PDF page, in millimetres.
QMarginsF ReportPageMargins();

// A picture of the report's picture page, under its caption.
struct ReportPicture
{
    QString caption;
    Picture picture;
};

// Everything the report prints, as the results window and the input windows
// hold it after the analysis and design.
struct ReportTexts
{
    QString firma;
    QString projekt;
    QString position;
    QString systemTypeName;
    std::array<QString, RegionCount> lengths;              // L1, L2, L3, Lkl, Lkr as typed
    std::array<QString, ReportResultCount> results;        // empty for lines not shown
    std::array<QString, ReportDesignCount> design;         // Label7 items 0..10
    QString width;                                         // width field, cm
    QLocale locale;                                        // formats the length line
    // Not empty: a further page shows these pictures, each under its
    // caption and as wide as the page.
    std::vector<ReportPicture> pictures;
};

struct ReportText
{
    int page = 0;
    int line = 0;              // line of the text flow, counted from 0 over all pages
    double x = 0;              // left edge, user frame
    double y = 0;              // top of the line, user frame
    QPointF baseline;          // start of the baseline, device units
    double pointSize = 0;
    int column = 0;            // tab column, 1 = left edge
    QString text;
};

struct ReportLine
{
    QLineF line;               // user frame
    int width = 1;             // in 1/96 inch
};

struct ReportLayout
{
    QRectF area;               // printable area, device units
    QTransform userToDevice;
    double penScale = 1;       // device units per pen-width unit
    int pageCount = 1;
    double totalLength = 0;    // T, sum of the five lengths
    bool hasDrawing = false;   // false when the lengths cannot be drawn (T = 0)
    std::vector<ReportText> texts;
    std::vector<ReportLine> lines;   // all on the first page
};

// Lays the report out on the device's whole paint area (the device's own
// margins are the printable area's edges). A flow that runs past the bottom
// continues on a further page.
ReportLayout LayoutReport(const ReportTexts &texts, const QPaintDevice &device);

// Draws a layout with a painter that is active on a device of the same
// metrics. Further pages need a paged device (printer, PDF writer).
void PaintReport(QPainter &painter, const ReportLayout &layout);

// The picture page: the pictures one below the other, each under its
// caption and scaled to the width of the device's paint area.
void PaintPicturePage(QPainter &painter, const QPaintDevice &device, const std::vector<ReportPicture> &pictures);

// Writes the reports to a PDF file on A4 paper, each report starting on a
// new page, its picture page after it. The file is replaced only when
// everything was written. Needs a QGuiApplication (fonts).
// The PDF of the reports, made in memory; empty, with the reason in `error`,
// when it cannot be made.
QByteArray ReportPdfBytes(const std::vector<ReportTexts> &reports, QString *error = nullptr);
bool WriteReportPdf(const QString &path, const std::vector<ReportTexts> &reports, QString *error = nullptr);

// PDF pages made in memory, A4 with the report's margins: `documents`
// documents, each begun on a new page by `paintDocument`; empty with
// `error` set where nothing could be made.
QByteArray PdfBytes(const QString &title, std::size_t documents,
                    const std::function<void(QPainter &, QPdfWriter &, std::size_t)> &paintDocument, QString *error);

// Writes a PDF made in memory through a save file, so an existing file is
// replaced only by a complete one. `document` names it in the message
// ("Der Bericht"); empty `bytes` fail with `whyEmpty`.
bool WritePdfFile(const QString &path, const QString &document, const QByteArray &bytes, const QString &whyEmpty,
                  QString *error);
bool WriteReportPdf(const QString &path, const ReportTexts &texts, QString *error = nullptr);

} // namespace varno
