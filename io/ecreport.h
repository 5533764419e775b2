// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The report of the Eurocode check, several pages a checking engineer can
// follow: the project heading, a sketch of the system with its supports,
// loads and dimensions, every load by region and action, the materials and
// every value used with its symbol and source, the combinations, the
// envelope diagrams of M, V and w, each check with formula, its values put
// into the formula, utilisation and verdict, the utilisation of every check
// at every field and support, and the assumptions. Every page names project,
// position and firm above, and program, version, date and "Seite n von m"
// below. The window's "Nachweis drucken…" and varno-calc --eurocode --pdf
// both write it from the run they made, rendering its presentation in
// German number format whatever the locale.

#include "io/report.h"
#include "model/projectmodel.h"
#include "presentation/ecpresentation.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <array>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace varno {

struct EcReportInput
{
    // Firma, Projekt, Position, Beschreibung, Bearbeiter.
    std::array<QString, 5> projectInfo;
    QString systemTypeName;
    ProjectTexts texts;
    EcRun run;                  // the check already made, with its envelopes
    // Not empty: a further page shows these pictures (see PaintPicturePage).
    std::vector<ReportPicture> pictures;
    QDate date;                 // the date the report names; invalid: EcReportDate()
};

// The date of a report: today, or the day of SOURCE_DATE_EPOCH (seconds
// since 1970, UTC) where that is set, so that a document made again from the
// same sources does not change.
QDate EcReportDate();

// Paints the report on an active painter of a paged device, its picture
// page last; returns the number of pages.
int PaintEcReport(QPainter &painter, QPagedPaintDevice &device, const EcReportInput &input);

// Writes the report to a PDF file on A4 paper; the file is replaced only
// when everything was written. Needs a QGuiApplication (fonts).
bool WriteEcReportPdf(const QString &path, const EcReportInput &input, QString *error = nullptr);
// The PDF of the reports, each starting on a new page, made in memory;
// empty, with the reason in `error`, when it cannot be made.
QByteArray EcReportPdfBytes(const std::vector<EcReportInput> &inputs, QString *error = nullptr);
// Several reports in one file, each starting on a new page.
bool WriteEcReportPdf(const QString &path, const std::vector<EcReportInput> &inputs, QString *error = nullptr);

} // namespace varno
