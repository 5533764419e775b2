// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/report.h"

#include "model/systemerror.h"

#include <QRegularExpression>

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace varno {

namespace {

// The classic average character width: lower-case letters and the blank
// weighted by their frequency in English text. Arial and its metric twins
// share every advance width and so these columns, while the averages
// stored in their font files differ by a third (the newer rule averages
// every glyph), which would push the right-hand columns off the page.
double averageCharWidth(const QFontMetricsF &metrics)
{
    static constexpr int weights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20,
                                        56, 56, 17, 4,  49,  56, 71, 31, 10, 18, 3, 18, 2};
    double sum = 166 * metrics.horizontalAdvance(QChar(u' '));
    for (int i = 0; i < 26; ++i)
        sum += weights[i] * metrics.horizontalAdvance(QChar(u'a' + i));
    return sum / 1000;
}

QFont reportFont(double pointSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

// The printer's text flow: print statements write at the current line, a
// tab moves to a column of the current font's average character width, and
// a tab left of the current position continues on the next line. Columns
// count from 1 at the left edge.
class TextFlow
{
public:
    TextFlow(const QPaintDevice &device, ReportLayout &layout)
        : m_device(device), m_layout(layout), m_metrics(reportFont(12), &device)
    {
        setPointSize(12);
    }

    void setPointSize(double pointSize)
    {
        m_pointSize = pointSize;
        m_metrics = QFontMetricsF(reportFont(pointSize), &m_device);
        m_columnWidth = averageCharWidth(m_metrics);
    }

    // One print statement: its items, then the end of the line.
    void print(std::initializer_list<std::pair<int, QString>> items)
    {
        for (const auto &[column, text] : items) {
            tab(column);
            write(column, text);
        }
        endLine();
    }

    void emptyLines(int count)
    {
        for (int i = 0; i < count; ++i)
            endLine();
    }

private:
    void tab(int column)
    {
        const double x = (column - 1) * m_columnWidth;
        if (x < m_x)
            endLine();
        m_x = x;
    }

    void write(int column, const QString &text)
    {
        const QRectF &area = m_layout.area;
        if (m_y > 0 && m_y + m_metrics.height() > area.height()) {
            ++m_page;
            m_y = 0;
        }
        ReportText placed;
        placed.page = m_page;
        placed.line = m_line;
        const QPointF topLeft = m_layout.userToDevice.inverted().map(area.topLeft() + QPointF(m_x, m_y));
        placed.x = topLeft.x();
        placed.y = topLeft.y();
        placed.baseline = area.topLeft() + QPointF(m_x, m_y + m_metrics.ascent());
        placed.pointSize = m_pointSize;
        placed.column = column;
        placed.text = text;
        m_layout.texts.push_back(placed);
        m_layout.pageCount = m_page + 1;
        m_x += m_metrics.horizontalAdvance(text);
    }

    void endLine()
    {
        m_y += m_metrics.height();
        m_x = 0;
        ++m_line;
    }

    const QPaintDevice &m_device;
    ReportLayout &m_layout;
    QFontMetricsF m_metrics;
    double m_pointSize = 12;
    double m_columnWidth = 0;
    double m_x = 0;     // device units from the area's left edge
    double m_y = 0;     // top of the current line, device units from the area's top
    int m_line = 0;
    int m_page = 0;
};

void addLine(ReportLayout &layout, double x1, double y1, double x2, double y2, int width = 1)
{
    layout.lines.push_back({QLineF(x1, y1, x2, y2), width});
}

void addSupport(ReportLayout &layout, double x, bool withGround)
{
    addLine(layout, x, 120, x - 20, 150);
    addLine(layout, x - 20, 150, x + 20, 150);
    addLine(layout, x + 20, 150, x, 120);
    if (withGround)
        addLine(layout, x - 20, 160, x + 20, 160);
}

void layoutDrawing(const ReportTexts &texts, ReportLayout &layout)
{
    double lengths[RegionCount];
    double total = 0;
    for (int i = 0; i < RegionCount; ++i) {
        lengths[i] = LeadingNumber(texts.lengths[i]);
        total += lengths[i];
    }
    layout.totalLength = total;
    const double scale = 800.0 / total;
    // T = 0 (all lengths 0, or lengths that cancel) has no scale: the report
    // then goes without its drawing.
    if (!std::isfinite(scale) || !std::isfinite(total))
        return;
    const double left = lengths[LengthLeft] * scale;
    const double right = lengths[LengthRight] * scale;
    const double a = 100 + left;
    const double d = 900 - right;
    const double c = 900 - (lengths[LengthL3] + lengths[LengthRight]) * scale;
    const double b = 900 - (lengths[LengthL2] + lengths[LengthL3] + lengths[LengthRight]) * scale;
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d))
        return;

    layout.hasDrawing = true;
    addLine(layout, 100, 120, 900, 120, 2);
    addLine(layout, 90, 220, 910, 220);
    for (double x : {100.0, 900.0, a, d, c, b})
        addLine(layout, x, 240, x, 190);
    addSupport(layout, a, false);
    for (double x : {d, c, b})
        addSupport(layout, x, true);
}

} // namespace

QMarginsF ReportPageMargins()
{
    // Narrow at the sides: the length line reaches about 180 mm.
    return QMarginsF(10, 15, 10, 15);
}

ReportLayout LayoutReport(const ReportTexts &texts, const QPaintDevice &device)
{
    ReportLayout layout;
    layout.area = QRectF(0, 0, device.width(), device.height());
    const QRectF frame(QPointF(ReportFrameLeft, ReportFrameTop), QPointF(ReportFrameRight, ReportFrameBottom));
    layout.userToDevice = QTransform::fromTranslate(-frame.left(), -frame.top())
        * QTransform::fromScale(layout.area.width() / frame.width(), layout.area.height() / frame.height())
        * QTransform::fromTranslate(layout.area.left(), layout.area.top());
    layout.penScale = device.logicalDpiX() / 96.0;

    const auto &r = texts.results;
    const auto &d = texts.design;
    TextFlow flow(device, layout);

    // Heading. A project text typed on several lines keeps its parts apart
    // on its one report line, so the layout below it does not move.
    auto oneLine = [](const QString &text) {
        return text.split(QRegularExpression(QStringLiteral("\\s*[\\r\\n]+\\s*")), Qt::SkipEmptyParts)
            .join(QStringLiteral(", "));
    };
    flow.setPointSize(12);
    flow.emptyLines(3);
    flow.print({{15, oneLine(texts.firma)}});
    flow.emptyLines(2);
    flow.print({{15, oneLine(texts.projekt)}});
    flow.setPointSize(10);
    flow.emptyLines(1);
    flow.print({{18, oneLine(texts.position)}});
    flow.emptyLines(2);
    flow.print({{18, QStringLiteral("System")}, {40, texts.systemTypeName}});
    flow.emptyLines(8);   // room for the beam drawing
    flow.setPointSize(8);
    auto length = [&](int index) { return FormatFixed(LeadingNumber(texts.lengths[index]), 2, texts.locale); };
    flow.print({{35, length(LengthLeft)},
                {55, length(LengthL1)},
                {90, length(LengthL2)},
                {120, length(LengthL3)},
                {140, length(LengthRight)}});

    // Results.
    flow.setPointSize(10);
    flow.emptyLines(2);
    flow.print({{18, QStringLiteral("Momente")}});
    flow.emptyLines(1);
    flow.print({{30, r[0]}, {70, r[4]}});
    flow.print({{30, r[1]}, {70, r[5]}});
    flow.print({{30, r[2]}, {70, r[6]}});
    flow.print({{30, r[3]}});
    flow.emptyLines(4);
    flow.print({{18, QStringLiteral("Querkr\u00E4fte")}});
    flow.emptyLines(1);
    flow.print({{30, r[7]}, {60, r[8]}});
    flow.print({{30, r[9]}, {60, r[10]}});
    flow.print({{30, r[11]}, {60, r[12]}});
    flow.print({{30, r[13]}, {60, r[14]}});
    flow.emptyLines(1);
    flow.print({{18, QStringLiteral("Auflagerkr\u00E4fte")}});
    flow.emptyLines(1);
    flow.print({{30, r[15]}, {60, r[16]}});
    flow.print({{30, r[17]}, {60, r[18]}});

    // Design.
    flow.emptyLines(4);
    flow.print({{18, QStringLiteral("Dimension")}});
    flow.emptyLines(1);
    flow.print({{30, d[0]}});
    flow.print({{30, d[1]}});
    flow.print({{30, QStringLiteral("b = ") + texts.width + QStringLiteral(" cm")}});
    flow.print({{30, d[4]}});
    flow.print({{30, d[9]}});
    flow.emptyLines(1);
    flow.print({{30, d[5]}});
    flow.print({{30, d[6]}});
    flow.print({{30, d[8]}});
    flow.print({{30, d[10]}});
    flow.setPointSize(8);

    layoutDrawing(texts, layout);
    return layout;
}

void PaintReport(QPainter &painter, const ReportLayout &layout)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int page = 0; page < layout.pageCount; ++page) {
        if (page > 0) {
            auto *paged = dynamic_cast<QPagedPaintDevice *>(painter.device());
            if (!paged || !paged->newPage())
                break;
        }
        if (page == 0) {
            // Widths scale with the device, so the lines look alike on paper
            // and on screen; the cap keeps the ends square as on a printer.
            for (const ReportLine &line : layout.lines) {
                QPen pen(Qt::black, line.width * layout.penScale, Qt::SolidLine, Qt::SquareCap);
                painter.setPen(pen);
                painter.drawLine(layout.userToDevice.map(line.line));
            }
        }
        painter.setPen(Qt::black);
        for (const ReportText &text : layout.texts) {
            if (text.page != page || text.text.isEmpty())
                continue;
            painter.setFont(reportFont(text.pointSize));
            painter.drawText(text.baseline, text.text);
        }
    }
    painter.restore();
}

void PaintPicturePage(QPainter &painter, const QPaintDevice &device, const std::vector<ReportPicture> &pictures)
{
    painter.save();
    const QFont captionFont = reportFont(10);
    const QFontMetricsF caption(captionFont, &device);
    const double lineHeight = QFontMetricsF(reportFont(12), &device).height();
    const double width = device.width();
    const double height = width * FrameHeight / FrameWidth;
    double y = 3 * lineHeight;   // the three empty lines the report starts with
    for (const ReportPicture &picture : pictures) {
        painter.setFont(captionFont);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, y + caption.ascent()), picture.caption);
        y += 1.5 * caption.height();
        // Drawn in the picture's own frame, as the window shows it, and
        // stretched onto the page.
        painter.save();
        painter.translate(0, y);
        painter.scale(width / FrameWidth, height / FrameHeight);
        PaintPicture(painter, QSizeF(FrameWidth, FrameHeight), picture.picture, PictureFileFont());
        painter.restore();
        y += height + 2 * lineHeight;
    }
    painter.restore();
}

QByteArray PdfBytes(const QString &title, std::size_t documents,
                    const std::function<void(QPainter &, QPdfWriter &, std::size_t)> &paintDocument, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    if (documents == 0)
        return fail(QStringLiteral("kein Inhalt"));
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, ReportPageMargins(),
                                         QPageLayout::Millimeter));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Varno"));
        QPainter painter;
        if (!painter.begin(&writer))
            return fail(QStringLiteral("PDF-Ausgabe nicht m\u00F6glich"));
        for (std::size_t i = 0; i < documents; ++i) {
            if (i > 0)
                writer.newPage();
            paintDocument(painter, writer, i);
        }
        painter.end();
    }
    return pdf.data();
}

QByteArray ReportPdfBytes(const std::vector<ReportTexts> &reports, QString *error)
{
    return PdfBytes(QStringLiteral("Varno"), reports.size(), [&](QPainter &painter, QPdfWriter &writer, std::size_t i) {
        PaintReport(painter, LayoutReport(reports[i], writer));
        if (!reports[i].pictures.empty()) {
            writer.newPage();
            PaintPicturePage(painter, writer, reports[i].pictures);
        }
    }, error);
}

bool WriteReportPdf(const QString &path, const std::vector<ReportTexts> &reports, QString *error)
{
    QString why;
    // The PDF writer does not look at what its device took; on a full disk it
    // would go on, and the save file would put the cut-off PDF in place of the
    // old one. So the pages are made in memory and written in one checked go.
    const QByteArray bytes = ReportPdfBytes(reports, &why);
    return WritePdfFile(path, QStringLiteral("Der Bericht"), bytes, why, error);
}

bool WritePdfFile(const QString &path, const QString &document, const QByteArray &bytes, const QString &whyEmpty,
                  QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("%1 kann nicht als \u201E%2\u201C gespeichert werden (%3).")
                         .arg(document, QDir::toNativeSeparators(path), why);
        return false;
    };
    if (bytes.isEmpty())
        return fail(whyEmpty);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(SystemErrorText(file));
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        return fail(SystemErrorText(file));
    return true;
}

bool WriteReportPdf(const QString &path, const ReportTexts &texts, QString *error)
{
    return WriteReportPdf(path, std::vector<ReportTexts>{texts}, error);
}

} // namespace varno
