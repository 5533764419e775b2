// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/systemschematic.h"

#include "model/projectmodel.h"
#include "widgets/fittinglabel.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace varno {

namespace {

// Supports sit at the ends of the spans: A left of span 1, then B, C, D at
// the right ends of spans 1, 2 and 3.
constexpr int SupportCount = 4;

// The widest texts a column asks room for; longer numbers are shortened.
const QString TypicalLength = QStringLiteral("-0000.00 m");
const QString TypicalLoad = QStringLiteral("Gleichlast =  -0000.00  kN/m");
const QString TypicalPointLoad = QStringLiteral("F1 = -0000.00  kN  a = 000.00 m");

} // namespace

SystemSchematic::SystemSchematic(QWidget *parent)
    : QWidget(parent)
{
    for (int r = 1; r <= RegionCount; ++r) {
        m_length[r - 1] = makeFittingLabel(QStringLiteral("Label1(%1)").arg(r - 1), TypicalLength, Qt::AlignCenter);
        m_load[r - 1] = makeFittingLabel(QStringLiteral("Label2(%1)").arg(r - 1), TypicalLoad, Qt::AlignCenter);
    }
    // Label3(24) does not exist: the right cantilever's slots 24..26 carry
    // the names 25..27.
    for (int slot = 0; slot < PointLoadSlotCount; ++slot)
        m_point[slot] = makeFittingLabel(QStringLiteral("Label3(%1)").arg(slot < 24 ? slot : slot + 1),
                                         TypicalPointLoad, Qt::AlignLeft | Qt::AlignVCenter);
    m_letter[0] = makeLabel(QStringLiteral("Label4(0)"), Qt::AlignHCenter | Qt::AlignTop);
    for (int i = 0; i < 3; ++i)
        m_letter[i + 1] = makeLabel(QStringLiteral("Label5(%1)").arg(i), Qt::AlignHCenter | Qt::AlignTop);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QLabel *SystemSchematic::makeLabel(const QString &name, Qt::Alignment alignment)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setAlignment(alignment);
    return label;
}

FittingLabel *SystemSchematic::makeFittingLabel(const QString &name, const QString &typical, Qt::Alignment alignment)
{
    auto *label = new FittingLabel(FittingLabel::Mode::Shorten, typical, this);
    label->setObjectName(name);
    label->setAlignment(alignment);
    return label;
}

FittingLabel *SystemSchematic::lengthLabel(int region) const
{
    return m_length[region - 1];
}

FittingLabel *SystemSchematic::loadLabel(int region) const
{
    return m_load[region - 1];
}

FittingLabel *SystemSchematic::pointLoadLabel(int slot) const
{
    return m_point[slot];
}

QLabel *SystemSchematic::supportLetter(int support) const
{
    return m_letter[support];
}

void SystemSchematic::arrange(int spans, bool leftCantilever, bool rightCantilever)
{
    m_spans = std::clamp(spans, 1, 3);
    m_left = leftCantilever;
    m_right = rightCantilever;
    updateGeometry();
    relayout();
}

bool SystemSchematic::hasRegion(int region) const
{
    switch (region) {
    case Span1: return true;
    case Span2: return m_spans >= 2;
    case Span3: return m_spans >= 3;
    case LeftCantilever: return m_left;
    case RightCantilever: return m_right;
    }
    return false;
}

QLineF SystemSchematic::regionBeam(int region) const
{
    return hasRegion(region) ? m_beam[region] : QLineF();
}

std::vector<int> SystemSchematic::regionOrder() const
{
    std::vector<int> order;
    for (int region : {int(LeftCantilever), int(Span1), int(Span2), int(Span3), int(RightCantilever)})
        if (hasRegion(region))
            order.push_back(region);
    return order;
}

double SystemSchematic::minimumColumnWidth(int region) const
{
    const QFontMetrics fm = fontMetrics();
    const bool span = region <= Span3;
    double width = fm.averageCharWidth() * (span ? 12 : 7);
    auto widen = [&width](const QLabel *label) {
        if (!label->isHidden())
            width = std::max<double>(width, label->sizeHint().width());
    };
    widen(m_length[region - 1]);
    widen(m_load[region - 1]);
    for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot)
        widen(m_point[slot]);
    return width + 2 * fm.averageCharWidth();
}

int SystemSchematic::pointLoadRows() const
{
    int rows = 0;
    for (int region : regionOrder())
        for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot)
            if (!m_point[slot]->isHidden())
                rows = std::max(rows, slot - FirstSlot(region) + 1);
    return rows;
}

std::vector<SystemSchematic::Column> SystemSchematic::columns(double width) const
{
    const double margin = fontMetrics().height();
    std::vector<Column> result;
    double minimum = 0;
    int spanColumns = 0;
    for (int region : regionOrder()) {
        result.push_back({region, 0, minimumColumnWidth(region)});
        minimum += result.back().right;
        if (region <= Span3)
            ++spanColumns;
    }
    // Spare room goes to the spans; the cantilevers keep their width.
    const double extra = std::max(0.0, width - 2 * margin - minimum) / std::max(1, spanColumns);
    double x = margin;
    for (Column &c : result) {
        const double w = c.right + (c.region <= Span3 ? extra : 0.0);
        c.left = x;
        c.right = x + w;
        x += w;
    }
    return result;
}

int SystemSchematic::contentHeight() const
{
    const int line = fontMetrics().height() + 2;
    const int rows = pointLoadRows();
    return line / 2 + rows * line + (rows ? 4 : 0) + line + 6 + line + 4 + line + 8 + line + line / 2;
}

QSize SystemSchematic::sizeHint() const
{
    return minimumSizeHint();
}

QSize SystemSchematic::minimumSizeHint() const
{
    const double margin = fontMetrics().height();
    double width = 2 * margin;
    for (int region : regionOrder())
        width += minimumColumnWidth(region);
    return {int(std::ceil(width)), contentHeight()};
}

void SystemSchematic::relayout()
{
    const int line = fontMetrics().height() + 2;
    const int rows = pointLoadRows();
    const std::vector<Column> cols = columns(width());

    // Rows from top to bottom: point loads, region load, beam with supports,
    // support letters, dimension line with the lengths.
    const double pointTop = line / 2;
    const double loadTop = pointTop + rows * line + (rows ? 4 : 0);
    const double beamY = loadTop + line + 6;
    const double triangle = line * 0.75;
    const double letterTop = beamY + triangle + 6;
    const double dimY = letterTop + line + 4;
    const double lengthTop = dimY + 4;

    for (QLabel *label : m_length)
        label->setGeometry(0, 0, 0, 0);
    for (QLabel *label : m_load)
        label->setGeometry(0, 0, 0, 0);
    for (QLabel *label : m_point)
        label->setGeometry(0, 0, 0, 0);
    for (QLabel *label : m_letter)
        label->setGeometry(0, 0, 0, 0);
    m_beam = {};
    m_lines.clear();
    m_beamLines = 0;

    std::array<double, SupportCount> supportX{};
    for (const Column &c : cols) {
        const QRectF stretch(c.left, 0, c.right - c.left, line);
        m_length[c.region - 1]->setGeometry(stretch.translated(0, lengthTop).toAlignedRect());
        m_load[c.region - 1]->setGeometry(stretch.translated(0, loadTop).toAlignedRect());
        // The point loads of a region form one left-aligned block, centred
        // over the region, so that their "=" signs line up roughly.
        double block = 0;
        for (int slot = FirstSlot(c.region); slot < EndSlot(c.region); ++slot)
            if (!m_point[slot]->isHidden())
                block = std::max<double>(block, m_point[slot]->sizeHint().width());
        const double blockLeft = std::max(c.left, (c.left + c.right - block) / 2);
        for (int slot = FirstSlot(c.region); slot < EndSlot(c.region); ++slot)
            m_point[slot]->setGeometry(QRectF(blockLeft, pointTop + (slot - FirstSlot(c.region)) * line,
                                              c.right - blockLeft, line)
                                           .toAlignedRect());
        m_beam[c.region] = QLineF(c.left, beamY, c.right, beamY);
        m_lines.push_back(m_beam[c.region]);
        if (c.region == Span1)
            supportX[0] = c.left;
        if (c.region <= Span3)
            supportX[c.region] = c.right;
    }

    m_beamLines = m_lines.size();
    const double half = triangle * 0.6;
    for (int s = 0; s <= m_spans; ++s) {
        const double x = supportX[s];
        const QPointF top(x, beamY);
        const QPointF left(x - half, beamY + triangle);
        const QPointF right(x + half, beamY + triangle);
        m_lines.emplace_back(top, left);
        m_lines.emplace_back(left, right);
        m_lines.emplace_back(right, top);
        if (s == 0) {
            // Fixed support: hatching under the base.
            for (int k = 0; k < 4; ++k) {
                const double hx = left.x() + (k + 1) * (2 * half) / 4;
                m_lines.emplace_back(QPointF(hx, beamY + triangle), QPointF(hx - 4, beamY + triangle + 4));
            }
        } else {
            // Movable support: a second line under the base.
            m_lines.emplace_back(left + QPointF(0, 3), right + QPointF(0, 3));
        }
        m_letter[s]->setGeometry(QRectF(x - line, letterTop, 2 * line, line).toAlignedRect());
    }

    if (!cols.empty()) {
        m_lines.emplace_back(cols.front().left, dimY, cols.back().right, dimY);
        m_lines.emplace_back(cols.front().left, dimY - 4, cols.front().left, dimY + 4);
        for (const Column &c : cols)
            m_lines.emplace_back(c.right, dimY - 4, c.right, dimY + 4);
    }
    update();
}

void SystemSchematic::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    QPen thin(ink, 1.0);
    QPen beam(ink, 3.0);
    beam.setCapStyle(Qt::FlatCap);
    // The beam segments come first in the list, drawn heavier.
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        painter.setPen(i < m_beamLines ? beam : thin);
        painter.drawLine(m_lines[i]);
    }
}

void SystemSchematic::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void SystemSchematic::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        updateGeometry();
        relayout();
    }
}

} // namespace varno
