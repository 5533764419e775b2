// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/spantablereport.h"

#include "io/report.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace varno {

namespace {

// The page is laid out in tenths of a millimetre.
constexpr double Unit = 0.1;   // mm
constexpr double FooterHeight = 60;
constexpr double CellPadding = 40;

QFont fontOf(double pointSize, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(int(std::lround(pointSize * 25.4 / 72 / Unit)));
    f.setBold(bold);
    return f;
}

// One thing to paint on one page: a text in a box, or a line.
struct Item
{
    int page = 0;
    QRectF box;
    QString text;
    double pointSize = 10;
    bool bold = false;
    int flags = Qt::AlignLeft | Qt::AlignVCenter;
    bool line = false;
};

// Places texts and tables down the pages; a block that does not fit starts
// a new page. Nothing is painted until the number of pages is known.
class Layout
{
public:
    Layout(const QPaintDevice &device, double width, double height)
        : m_device(&device), m_width(width), m_bottom(height - FooterHeight)
    {
    }

    double width() const { return m_width; }
    int pages() const { return m_page + 1; }
    const std::vector<Item> &items() const { return m_items; }

    double textWidth(const QString &text, double pointSize, bool bold) const
    {
        return QFontMetricsF(fontOf(pointSize, bold), m_device).horizontalAdvance(text);
    }
    double lineHeight(double pointSize) const
    {
        return QFontMetricsF(fontOf(pointSize, false), m_device).height() * 1.25;
    }

    void text(const QString &text, double pointSize, bool bold = false, double indent = 0, double keep = 0)
    {
        const QFontMetricsF metrics(fontOf(pointSize, bold), m_device);
        const QRectF needed =
            metrics.boundingRect(QRectF(indent, 0, m_width - indent, 1e6), Qt::TextWordWrap, text);
        ensure(needed.height() + keep);
        m_items.push_back({m_page, QRectF(indent, m_y, m_width - indent, needed.height() + 1), text, pointSize, bold,
                           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap});
        m_y += needed.height();
    }
    void heading(const QString &text, double keep)
    {
        space(40);
        this->text(text, 12, true, 0, keep);
        space(15);
    }
    void space(double units) { m_y += units; }
    // A block that fits on an empty page does not begin at the foot of one.
    void keepTogether(double height)
    {
        if (height <= m_bottom)
            ensure(height);
    }

    // A table: `rows` with the head row first, column edges from 0; the head
    // row is repeated on every page the table runs onto.
    void table(const std::vector<double> &widths, const std::vector<QStringList> &rows, double pointSize)
    {
        const double line = lineHeight(pointSize);
        auto paintRow = [&](const QStringList &row, bool head) {
            double x = 0;
            for (qsizetype c = 0; c < row.size() && std::size_t(c) < widths.size(); ++c) {
                const double w = widths[std::size_t(c)];
                m_items.push_back({m_page, QRectF(x + CellPadding / 2, m_y, w - CellPadding, line), row[c], pointSize,
                                   head, int((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter)});
                x += w;
            }
            m_y += line;
            if (head)
                rule(x);
        };
        double total = 0;
        for (double w : widths)
            total += w;
        ensure(2 * line);
        paintRow(rows.front(), true);
        for (std::size_t r = 1; r < rows.size(); ++r) {
            if (m_y + line > m_bottom) {
                newPage();
                paintRow(rows.front(), true);
            }
            paintRow(rows[r], false);
        }
        rule(total);
    }

private:
    void rule(double length)
    {
        Item i;
        i.page = m_page;
        i.line = true;
        i.box = QRectF(0, m_y, length, 0);
        m_items.push_back(i);
    }
    void newPage()
    {
        ++m_page;
        m_y = 0;
    }
    void ensure(double height)
    {
        if (m_y + height > m_bottom && m_y > 0)
            newPage();
    }

    const QPaintDevice *m_device;
    double m_width = 0, m_bottom = 0, m_y = 0;
    int m_page = 0;
    std::vector<Item> m_items;
};

// The widths of a table's columns: each as wide as its widest text.
std::vector<double> columnWidths(const Layout &layout, const std::vector<QStringList> &rows, double pointSize)
{
    std::vector<double> widths;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            if (std::size_t(c) >= widths.size())
                widths.push_back(0);
            widths[std::size_t(c)] = std::max(widths[std::size_t(c)],
                                              layout.textWidth(rows[r][c], pointSize, r == 0) + CellPadding);
        }
    return widths;
}

constexpr double TablePointSize = 9;

std::vector<QStringList> rowsOf(const SpanTablePart &part)
{
    std::vector<QStringList> rows{part.columnHeads};
    for (std::size_t k = 0; k < part.cells.size(); ++k) {
        QStringList row{part.rowHeads[qsizetype(k)]};
        for (const SpanCell &c : part.cells[k])
            row << c.text;
        rows.push_back(row);
    }
    return rows;
}

void layOut(Layout &flow, const SpanTablePresentation &p, const SpanTableHeading &heading)
{
    flow.text(p.title, 16, true);
    flow.space(20);
    for (const auto &[label, value] : {std::pair{"Firma", heading.firma}, std::pair{"Projekt", heading.projekt},
                                       std::pair{"Position", heading.position},
                                       std::pair{"Beschreibung", heading.beschreibung},
                                       std::pair{"Bearbeiter", heading.bearbeiter}})
        if (!value.isEmpty())
            flow.text(QStringLiteral("%1: %2").arg(QLatin1String(label), value), 10);
    if (!p.problems.isEmpty()) {
        flow.heading(QStringLiteral("Nicht berechnet"), 100);
        for (const QString &problem : p.problems)
            flow.text(problem, 10);
        return;
    }
    flow.space(10);
    for (const QString &o : p.options)
        flow.text(o, 10);

    for (const SpanTablePart &part : p.tables) {
        const std::vector<QStringList> rows = rowsOf(part);
        const std::vector<double> widths = columnWidths(flow, rows, TablePointSize);
        // The load cases in parts that fit the width, each with the sections.
        std::vector<std::pair<int, int>> chunks;   // [first, end) of the load-case columns
        int first = 1;
        while (first < int(widths.size())) {
            double used = widths[0];
            int end = first;
            while (end < int(widths.size()) && (end == first || used + widths[std::size_t(end)] <= flow.width()))
                used += widths[std::size_t(end++)];
            chunks.push_back({first, end});
            first = end;
        }
        for (std::size_t c = 0; c < chunks.size(); ++c) {
            const auto [from, to] = chunks[c];
            QString title = part.title;
            if (chunks.size() > 1)
                title += QStringLiteral(" (Teil %1 von %2)").arg(c + 1).arg(chunks.size());
            // Heading, unit line and the rows with the head row.
            flow.keepTogether(140 + flow.lineHeight(9) + double(rows.size() + 1) * flow.lineHeight(TablePointSize));
            flow.heading(title, 3 * flow.lineHeight(TablePointSize) + 60);
            flow.text(p.loadUnit, 9);
            flow.space(10);
            std::vector<double> partWidths{widths[0]};
            std::vector<QStringList> partRows;
            for (int k = from; k < to; ++k)
                partWidths.push_back(widths[std::size_t(k)]);
            for (const QStringList &row : rows)
                partRows.push_back(QStringList{row[0]} + row.mid(from, to - from));
            flow.table(partWidths, partRows, TablePointSize);
        }
    }
    flow.space(20);
    if (!p.legend.isEmpty())
        flow.text(QStringLiteral("Maßgebend: ") + p.legend.join(QStringLiteral("; ")), 9);
    if (!p.sourceNote.isEmpty())
        flow.text(p.sourceNote, 9);
    if (!p.errors.isEmpty()) {
        flow.heading(QStringLiteral("Nicht gefunden"), 100);
        for (const QString &e : p.errors)
            flow.text(e, 9, false, 40);
    }
    flow.heading(QStringLiteral("Verwendete Werte"), 100);
    flow.text(QStringLiteral("Jeder Wert mit dem Schlüssel seiner Zeile in den Datendateien:"), 9);
    for (const EcValueRow &v : p.values)
        flow.text(v.text, 9, !v.cited, 40);
    flow.heading(QStringLiteral("Annahmen"), 100);
    for (const QString &a : p.assumptions)
        flow.text(QStringLiteral("\u2022 ") + a, 9, false, 40);
}

} // namespace

QByteArray SpanTablePdfBytes(const SpanTablePresentation &p, const SpanTableHeading &heading, QString *error)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(p.title);
        writer.setCreator(QStringLiteral("Varno"));
        auto layoutFor = [&](QPageLayout::Orientation orientation) {
            writer.setPageLayout(
                QPageLayout(QPageSize(QPageSize::A4), orientation, ReportPageMargins(), QPageLayout::Millimeter));
            const double perUnitX = writer.logicalDpiX() / 25.4 * Unit;
            const double perUnitY = writer.logicalDpiY() / 25.4 * Unit;
            Layout flow(writer, writer.width() / perUnitX, writer.height() / perUnitY);
            layOut(flow, p, heading);
            return flow;
        };
        // Portrait unless a table would need more parts than in landscape.
        Layout flow = layoutFor(QPageLayout::Portrait);
        bool split = false;
        for (const SpanTablePart &part : p.tables) {
            const std::vector<double> widths = columnWidths(flow, rowsOf(part), TablePointSize);
            double total = 0;
            for (double w : widths)
                total += w;
            split = split || total > flow.width();
        }
        if (split)
            flow = layoutFor(QPageLayout::Landscape);

        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("PDF-Ausgabe nicht m\u00F6glich");
            return {};
        }
        const double perUnitX = writer.logicalDpiX() / 25.4 * Unit;
        const double perUnitY = writer.logicalDpiY() / 25.4 * Unit;
        const double width = writer.width() / perUnitX, height = writer.height() / perUnitY;
        const int pages = flow.pages();
        std::size_t next = 0;
        const std::vector<Item> &items = flow.items();
        for (int page = 0; page < pages; ++page) {
            if (page > 0)
                writer.newPage();
            painter.resetTransform();
            painter.scale(perUnitX, perUnitY);
            painter.setPen(QPen(Qt::black, 2));
            for (; next < items.size() && items[next].page == page; ++next) {
                const Item &i = items[next];
                if (i.line) {
                    painter.drawLine(i.box.topLeft(), i.box.topRight());
                    continue;
                }
                painter.setFont(fontOf(i.pointSize, i.bold));
                painter.drawText(i.box, i.flags, i.text);
            }
            painter.setFont(fontOf(8, false));
            painter.drawText(QRectF(0, height - 40, width, 40), Qt::AlignRight | Qt::AlignBottom,
                             QStringLiteral("Bemessungstabelle \u2013 Seite %1 von %2").arg(page + 1).arg(pages));
        }
        painter.end();
    }
    if (pdf.data().isEmpty() && error)
        *error = QStringLiteral("PDF-Ausgabe nicht m\u00F6glich");
    return pdf.data();
}

} // namespace varno
