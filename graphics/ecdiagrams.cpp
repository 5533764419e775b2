// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphics/ecdiagrams.h"

#include "model/projectmodel.h"

#include <algorithm>
#include <cmath>

namespace varno {

namespace {

constexpr double BeamLeft = 100.0, BeamRight = 900.0;
constexpr double LabelWidth = 300.0, LabelHeight = 34.0;

DisplayLabel valueLabel(const QString &text, double x, double y, bool below)
{
    // Beside the extreme, not over it: to its right where there is room,
    // else to its left; a little towards the outside of the curve.
    DisplayLabel label;
    label.text = text;
    label.width = LabelWidth;
    label.height = LabelHeight;
    label.left = x + 12 + LabelWidth <= FrameWidth ? x + 12 : std::max(0.0, x - 12 - LabelWidth);
    const double top = below ? y - LabelHeight / 2 + 6 : y - LabelHeight / 2 - 6;
    label.top = std::clamp(top, LabelHeight + 4, FrameHeight - LabelHeight);
    label.visible = true;
    return label;
}

} // namespace

DisplayList EnvelopeDiagram(const ec::EnvelopeCurve &curve, const ec::Envelopes &env,
                            const EnvelopeDiagramStyle &style)
{
    DisplayList list;
    list.clears = true;
    list.labels.resize(EnvelopeLabelCount);
    DisplayLabel &title = list.labels[0];
    title.text = style.title;
    title.left = 10;
    title.top = 2;
    title.width = 980;
    title.height = 24;
    title.visible = true;

    list.items.push_back({DisplayItem::Line, {BeamLeft, EnvelopeAxisY}, {BeamRight, EnvelopeAxisY}, PaletteBlack, 1});
    if (!env.valid || env.totalLength <= 0)
        return list;

    const double kx = (BeamRight - BeamLeft) / env.totalLength;
    // A beam too short for the scale (its length underflows) has no picture.
    if (!std::isfinite(kx))
        return list;
    // The supports: a short tick at each end of a span.
    for (int r = 0; r < 3; ++r) {
        if (env.length[r] <= 0)
            continue;
        for (double s : {env.start[r], env.start[r] + env.length[r]}) {
            const double x = BeamLeft + s * kx;
            list.items.push_back({DisplayItem::Line, {x - 8, EnvelopeAxisY + 14}, {x, EnvelopeAxisY}, PaletteBlack, 1});
            list.items.push_back({DisplayItem::Line, {x, EnvelopeAxisY}, {x + 8, EnvelopeAxisY + 14}, PaletteBlack, 1});
            list.items.push_back(
                {DisplayItem::Line, {x - 8, EnvelopeAxisY + 14}, {x + 8, EnvelopeAxisY + 14}, PaletteBlack, 1});
        }
    }

    const double largest = std::max(std::abs(curve.largest.value), std::abs(curve.smallest.value)) * style.factor;
    if (!std::isfinite(largest))
        return list;
    // As a share of the largest value, which stays finite also where the
    // largest is so small that its inverse is not.
    const auto y = [&](double v) {
        return largest > 0 ? EnvelopeAxisY + v * style.factor / largest * EnvelopeAmplitude : EnvelopeAxisY;
    };

    for (const auto &points : curve.regions) {
        if (points.empty())
            continue;
        DisplayItem upper{DisplayItem::Polyline, {}, {}, PaletteBlack, 2};
        DisplayItem lower{DisplayItem::Polyline, {}, {}, PaletteBlack, 2};
        lower.style = Qt::DashLine;
        for (const ec::EnvelopePoint &p : points) {
            upper.points.emplace_back(BeamLeft + p.s * kx, y(p.max));
            lower.points.emplace_back(BeamLeft + p.s * kx, y(p.min));
        }
        // The curves meet the axis at the region's ends.
        for (const DisplayItem *c : {&upper, &lower}) {
            list.items.push_back({DisplayItem::Line, {c->points.front().x(), EnvelopeAxisY}, c->points.front(),
                                  PaletteBlack, 1});
            list.items.push_back({DisplayItem::Line, c->points.back(), {c->points.back().x(), EnvelopeAxisY},
                                  PaletteBlack, 1});
        }
        list.items.push_back(std::move(upper));
        list.items.push_back(std::move(lower));
    }

    const auto text = [&](const QString &which, double v) {
        return QStringLiteral("%1 %2 = %3 %4")
            .arg(which, style.symbol, FormatFixed(v * style.factor, style.decimals, style.locale), style.unit);
    };
    // An extreme of 0 (no moment of that sign) is not worth a label.
    if (curve.largest.found && curve.largest.value * style.factor != 0) {
        const double yy = y(curve.largest.value);
        list.labels[1] = valueLabel(text(QStringLiteral("max"), curve.largest.value), BeamLeft + curve.largest.s * kx,
                                    yy, yy >= EnvelopeAxisY);
    }
    if (curve.smallest.found && curve.smallest.value * style.factor != 0) {
        const double yy = y(curve.smallest.value);
        list.labels[2] = valueLabel(text(QStringLiteral("min"), curve.smallest.value),
                                    BeamLeft + curve.smallest.s * kx, yy, yy > EnvelopeAxisY);
    }
    // Labels at the same place would hide each other: the second moves up.
    if (list.labels[1].visible && list.labels[2].visible
        && std::abs(list.labels[1].left - list.labels[2].left) < LabelWidth
        && std::abs(list.labels[1].top - list.labels[2].top) < LabelHeight)
        list.labels[2].top = std::max(LabelHeight + 4, list.labels[1].top - LabelHeight - 2);
    return list;
}

} // namespace varno
