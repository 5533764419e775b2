// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphics/picturepainter.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace varno {

namespace {

// Label fonts follow the label's height, within readable bounds.
constexpr int MinimumFontPixels = 9;
constexpr int MaximumFontPixels = 18;

} // namespace

void Picture::apply(const DisplayList &list)
{
    if (list.clears)
        items.clear();
    items.insert(items.end(), list.items.begin(), list.items.end());
    if (list.labels.empty())
        return;
    if (labels.empty())
        labels.resize(list.labels.size());
    const std::size_t count = std::min(list.labels.size(), labels.size());
    std::copy_n(list.labels.begin(), count, labels.begin());
}

LabelPlacement PlaceLabel(const DisplayLabel &label, const QSizeF &area, const QFont &baseFont)
{
    const double sx = area.width() / FrameWidth;
    const double sy = area.height() / FrameHeight;
    const int left = int(std::lround(label.left * sx));
    const int top = int(std::lround(label.top * sy));
    int w = int(std::lround(label.width * sx));
    int h = int(std::lround(label.height * sy));

    QFont font = baseFont;
    int pixels = std::clamp(int(h * 0.8), MinimumFontPixels, MaximumFontPixels);
    font.setPixelSize(pixels);
    while (pixels > MinimumFontPixels && QFontMetricsF(font).horizontalAdvance(label.text) > w)
        font.setPixelSize(--pixels);
    const QFontMetricsF metrics(font);
    w = std::max(w, int(std::ceil(metrics.horizontalAdvance(label.text))) + 1);
    h = std::max(h, int(std::ceil(metrics.height())));
    return {QRect(left, top, w, h), font};
}

void PaintDisplayItems(QPainter &painter, const QSizeF &area, const std::vector<DisplayItem> &items)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const double sx = area.width() / FrameWidth;
    const double sy = area.height() / FrameHeight;
    // Pixels (the screen, images) get their lines on whole pixels; vector
    // output (SVG, PDF) keeps every point where the display list puts it.
    const QPaintEngine *engine = painter.paintEngine();
    const bool onPixels = engine && engine->type() == QPaintEngine::Raster;
    for (const DisplayItem &item : items) {
        QPen pen(item.color);
        pen.setWidthF(std::max(item.width, 1));
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        if (item.kind == DisplayItem::Polyline) {
            // A curve: round joins, and its dashes run along the whole line.
            pen.setStyle(item.style);
            pen.setCapStyle(Qt::FlatCap);
            pen.setJoinStyle(Qt::BevelJoin);
            painter.setPen(pen);
            QPolygonF curve;
            curve.reserve(qsizetype(item.points.size()));
            for (const QPointF &p : item.points)
                curve << QPointF(p.x() * sx, p.y() * sy);
            painter.drawPolyline(curve);
            continue;
        }
        painter.setPen(pen);
        // Odd widths sit on pixel centres, even ones on pixel edges, so
        // horizontal and vertical lines stay sharp despite antialiasing.
        const double offset = item.width % 2 == 1 ? 0.5 : 0.0;
        const auto device = [&](const QPointF &p) {
            if (!onPixels)
                return QPointF(p.x() * sx, p.y() * sy);
            return QPointF(std::round(p.x() * sx) + offset, std::round(p.y() * sy) + offset);
        };
        const QPointF a = device(item.a);
        const QPointF b = device(item.b);
        if (item.kind == DisplayItem::Line) {
            painter.drawLine(a, b);
        } else {
            // As a closed outline, so a rectangle of zero width still shows
            // as the line it is.
            const QPolygonF outline{a, QPointF(b.x(), a.y()), b, QPointF(a.x(), b.y())};
            painter.drawPolygon(outline);
        }
    }
    painter.restore();
}

void PaintDisplayLabels(QPainter &painter, const QSizeF &area, const std::vector<DisplayLabel> &labels,
                        const QFont &baseFont, const QColor &background)
{
    painter.save();
    for (const DisplayLabel &label : labels) {
        if (!label.visible)
            continue;
        // As a label widget paints itself: its background over the whole
        // rectangle, the text left-aligned and centred vertically.
        const LabelPlacement placed = PlaceLabel(label, area, baseFont);
        painter.fillRect(placed.geometry, background);
        if (label.text.isEmpty())
            continue;
        painter.setFont(placed.font);
        painter.setPen(label.color);
        painter.drawText(placed.geometry, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextForceLeftToRight, label.text);
    }
    painter.restore();
}

void PaintPicture(QPainter &painter, const QSizeF &area, const Picture &picture, const QFont &baseFont,
                  const QColor &background)
{
    painter.fillRect(QRectF(QPointF(0, 0), area), background);
    PaintDisplayItems(painter, area, picture.items);
    PaintDisplayLabels(painter, area, picture.labels, baseFont, background);
}

QFont PictureFileFont()
{
    // Arial, or its metric twin where it is not installed, like the report.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace varno
