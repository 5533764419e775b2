// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphics/ecsketch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace varno {

namespace {

constexpr double BeamLeft = 100.0, BeamRight = 900.0;
constexpr double SupportHeight = 22.0, SupportHalf = 12.0;
constexpr double LabelHeight = 22.0, SmallLabelHeight = 16.0;
// A label's width from its characters: about the advance of a digit at the
// font its height gives, so that a centred label stays about centred.
constexpr double CharWidth = 9.5, SmallCharWidth = 7.0;
constexpr double ArrowLength = 18.0;        // of a point load above the rows of the uniform loads
constexpr double PointLabelLine = 19.0;     // a point load's label has two lines, F and a
constexpr double PointLabelLevel = 2 * PointLabelLine + 4;

const char *const LoadLetters[LoadTypeCount] = {"g", "q", "s", "w"};

struct Span
{
    int region = 0;          // 1..5
    double start = 0, length = 0;
};

DisplayLabel label(const QString &text, double left, double top, double height, double charWidth)
{
    DisplayLabel l;
    l.text = text;
    l.width = charWidth * text.size() + 4;
    l.left = std::clamp(left, 0.0, FrameWidth - l.width);
    l.top = top;
    l.height = height;
    l.visible = true;
    return l;
}

DisplayLabel centred(const QString &text, double x, double top, double height, double charWidth)
{
    return label(text, x - (charWidth * text.size() + 4) / 2, top, height, charWidth);
}

void line(DisplayList &list, double x1, double y1, double x2, double y2, int width = 1)
{
    list.items.push_back({DisplayItem::Line, {x1, y1}, {x2, y2}, PaletteBlack, width});
}

// A dimension line from a to b at y with ticks at `marks`.
void dimension(DisplayList &list, double y, const std::vector<double> &marks)
{
    line(list, marks.front(), y, marks.back(), y);
    for (double x : marks)
        line(list, x, y - 8, x, y + 8);
}

} // namespace

DisplayList EcSystemSketch(const ProjectTexts &texts, const QLocale &locale)
{
    DisplayList list;
    list.clears = true;

    // The regions along the beam that exist: the spans the system has (L3
    // makes three, else L2 two), the cantilevers with a length.
    const int spans = texts.length(LengthL3) != 0 ? 3 : texts.length(LengthL2) != 0 ? 2 : 1;
    std::vector<Span> along;
    double total = 0;
    for (int region : {LeftCantilever, Span1, Span2, Span3, RightCantilever}) {
        const double length = texts.length(region - 1);
        const bool exists = region <= Span3 ? region <= spans : length != 0;
        if (!exists || !(length > 0) || !std::isfinite(length))
            continue;
        along.push_back({region, total, length});
        total += length;
    }
    line(list, BeamLeft, EcSketchBeamY, BeamRight, EcSketchBeamY, 2);
    const double k = (BeamRight - BeamLeft) / total;
    if (along.empty() || !std::isfinite(k))
        return list;
    auto xOf = [&](double s) { return BeamLeft + s * k; };

    // Supports: A at the left end of span 1, then one at the right end of
    // every span; A holds, the others slide.
    std::vector<double> supports;
    for (const Span &s : along)
        if (s.region <= Span3) {
            if (supports.empty())
                supports.push_back(xOf(s.start));
            supports.push_back(xOf(s.start + s.length));
        }
    for (std::size_t i = 0; i < supports.size(); ++i) {
        const double x = supports[i];
        line(list, x - SupportHalf, EcSketchBeamY + SupportHeight, x, EcSketchBeamY);
        line(list, x, EcSketchBeamY, x + SupportHalf, EcSketchBeamY + SupportHeight);
        line(list, x - SupportHalf, EcSketchBeamY + SupportHeight, x + SupportHalf, EcSketchBeamY + SupportHeight);
        if (i > 0)
            line(list, x - SupportHalf, EcSketchBeamY + SupportHeight + 5, x + SupportHalf,
                 EcSketchBeamY + SupportHeight + 5);
        list.labels.push_back(centred(QString(QChar(u'A' + int(i))), x, EcSketchBeamY + SupportHeight + 7,
                                      LabelHeight - 2, CharWidth));
    }

    // Dimension lines: every region, then the whole beam.
    std::vector<double> marks{xOf(0)};
    for (const Span &s : along)
        marks.push_back(xOf(s.start + s.length));
    dimension(list, EcSketchDimensionY, marks);
    auto metres = [&](double l) { return FormatFixed(l, 2, locale) + QStringLiteral(" m"); };
    for (const Span &s : along)
        list.labels.push_back(centred(metres(s.length), xOf(s.start + s.length / 2), EcSketchDimensionY - LabelHeight - 2,
                                      LabelHeight, CharWidth));
    if (along.size() > 1) {
        dimension(list, EcSketchTotalY, {marks.front(), marks.back()});
        list.labels.push_back(centred(metres(total), (marks.front() + marks.back()) / 2,
                                      EcSketchTotalY - LabelHeight - 2, LabelHeight, CharWidth));
    }

    // Uniform loads: a row per action with a load anywhere, g next to the
    // beam; in it a rectangle over each loaded region with its value.
    std::vector<DisplayLabel> heads, values;
    double rowBottom = EcSketchBeamY - 2;
    for (int type = 0; type < LoadTypeCount; ++type) {
        bool any = false;
        for (const Span &s : along)
            any = any || texts.uniformLoad(s.region, type) != 0;
        if (!any)
            continue;
        const double top = rowBottom - EcSketchRowHeight + 2;
        heads.push_back(label(QStringLiteral("%1 [kN/m]").arg(QLatin1String(LoadLetters[type])), 2,
                              top + (EcSketchRowHeight - 2 - SmallLabelHeight) / 2, SmallLabelHeight, SmallCharWidth));
        for (const Span &s : along) {
            const double q = texts.uniformLoad(s.region, type);
            if (q == 0)
                continue;
            const double a = xOf(s.start), b = xOf(s.start + s.length);
            list.items.push_back({DisplayItem::Rectangle, {a, top}, {b, rowBottom}, PaletteBlack, 1});
            values.push_back(centred(FormatFixed(q, 2, locale), (a + b) / 2,
                                     top + (EcSketchRowHeight - 2 - SmallLabelHeight) / 2, SmallLabelHeight,
                                     SmallCharWidth));
        }
        rowBottom = top - 2;
    }

    // Point loads: an arrow to the beam at each load that acts (its region
    // exists and a lies on it), labelled with F and a; labels that would
    // overlap go to a second level.
    struct Point
    {
        double x, F, a;
    };
    std::vector<Point> points;
    for (const Span &s : along)
        for (int slot = FirstSlot(s.region); slot < EndSlot(s.region); ++slot) {
            const double F = texts.pointForce(slot), a = texts.pointDistance(slot);
            if (F == 0 || !(a >= 0 && a <= s.length))
                continue;
            points.push_back({xOf(s.start + a), F, a});
        }
    std::stable_sort(points.begin(), points.end(), [](const Point &p, const Point &q) { return p.x < q.x; });
    const double arrowTop = rowBottom - ArrowLength;
    std::array<double, 2> levelEnd{-1e9, -1e9};
    std::vector<DisplayLabel> pointLabels;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point &p = points[i];
        const bool down = p.F > 0;
        line(list, p.x, arrowTop, p.x, EcSketchBeamY, 1);
        const double tip = down ? EcSketchBeamY : arrowTop, back = down ? tip - 10 : tip + 10;
        line(list, p.x - 5, back, p.x, tip);
        line(list, p.x + 5, back, p.x, tip);
        const QString force = QStringLiteral("F = %1 kN").arg(FormatFixed(p.F, 2, locale));
        const QString at = QStringLiteral("a = %1").arg(metres(p.a));
        const double width = CharWidth * std::max(force.size(), at.size()) + 4;
        const double left = p.x - width / 2;
        const int level = left > levelEnd[0] ? 0 : left > levelEnd[1] ? 1 : int(i % 2);
        levelEnd[std::size_t(level)] = left + width + 6;
        const double top = std::max(0.0, arrowTop - 2 - (level + 1) * PointLabelLevel + 4);
        pointLabels.push_back(centred(force, p.x, top, PointLabelLine, CharWidth));
        pointLabels.push_back(centred(at, p.x, top + PointLabelLine, PointLabelLine, CharWidth));
    }
    list.labels.insert(list.labels.end(), heads.begin(), heads.end());
    list.labels.insert(list.labels.end(), values.begin(), values.end());
    list.labels.insert(list.labels.end(), pointLabels.begin(), pointLabels.end());
    return list;
}

} // namespace varno
