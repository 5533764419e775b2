// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphics/drawing.h"

#include "analysis/analysis.h"

#include <algorithm>
#include <cmath>

namespace varno {

namespace {

constexpr double BeamLeft = 100.0;
constexpr double BeamRight = 900.0;
constexpr double BeamAxisY = 120.0;
constexpr double LoadBaseY = 110.0;     // bottom of the load rectangles, tip of the arrows
constexpr double RectangleHeight = 30.0; // height of the largest region load
constexpr double ShaftLength = 60.0;     // shaft of the largest point force
constexpr double DiagramHeight = 90.0;   // distance of the largest moment or shear from the axis

// Huge inputs (1e308) can push a coordinate anywhere. Lines are clipped to
// this square around the frame, keeping their direction; anything with an
// infinite or NaN coordinate is left out. The square is large enough that
// nothing visible changes, and small enough that every device copes.
constexpr double CoordinateLimit = 1.0e5;

// Label sizes in twips on the two picture areas, converted to the frame.
constexpr double TwipsLabelWidth = 495.0;
constexpr double TwipsLabelHeight = 195.0;
constexpr double SketchTwipsWidth = 6135.0;
constexpr double SketchTwipsHeight = 1455.0;
constexpr double SketchTwipsLabelTop = 770.0;
constexpr double ResultsTwipsWidth = 11415.0;
constexpr double ResultsTwipsHeight = 3015.0;

constexpr int SketchLabelCount = 5;
constexpr int ResultsLabelCount = 37;
constexpr int RegionLoadLabel = 5;   // labels 5..9
constexpr int ForceLabel = 10;       // label of slot i is 10 + i

double twipsToX(double twips, double areaTwips)
{
    return twips / areaTwips * FrameWidth;
}

double twipsToY(double twips, double areaTwips)
{
    return twips / areaTwips * FrameHeight;
}

// Clips the segment a-b to the square of CoordinateLimit (Liang-Barsky);
// false when nothing of it lies inside.
bool clipToLimit(QPointF &a, QPointF &b)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() + CoordinateLimit, CoordinateLimit - a.x(), a.y() + CoordinateLimit,
                         CoordinateLimit - a.y()};
    double t0 = 0.0;
    double t1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            if (r > t1)
                return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0)
                return false;
            t1 = std::min(t1, r);
        }
    }
    const QPointF start = a;
    if (t0 > 0.0)
        a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    if (t1 < 1.0)
        b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return std::isfinite(a.x()) && std::isfinite(a.y()) && std::isfinite(b.x()) && std::isfinite(b.y());
}

bool isFinite(const QPointF &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Collects the items of one picture with the current pen, like drawing on
// the area with a foreground colour and a line width.
class Pen
{
public:
    explicit Pen(DisplayList &list) : m_list(list) {}

    void setColor(const QColor &color) { m_color = color; }
    void setWidth(int width) { m_width = width; }

    void line(double x1, double y1, double x2, double y2)
    {
        QPointF a(x1, y1);
        QPointF b(x2, y2);
        if (!isFinite(a) || !isFinite(b) || !clipToLimit(a, b))
            return;
        m_list.items.push_back({DisplayItem::Line, a, b, m_color, m_width});
    }

    void rectangle(double x1, double y1, double x2, double y2)
    {
        const QPointF a(x1, y1);
        const QPointF b(x2, y2);
        if (!isFinite(a) || !isFinite(b))
            return;
        const auto outside = [](double u, double v) {
            return (u < -CoordinateLimit && v < -CoordinateLimit) || (u > CoordinateLimit && v > CoordinateLimit);
        };
        if (outside(x1, x2) || outside(y1, y2))
            return;
        const auto clamp = [](double u) { return std::clamp(u, -CoordinateLimit, CoordinateLimit); };
        m_list.items.push_back({DisplayItem::Rectangle, QPointF(clamp(x1), clamp(y1)), QPointF(clamp(x2), clamp(y2)),
                                m_color, m_width});
    }

private:
    DisplayList &m_list;
    QColor m_color = PaletteBlack;
    int m_width = 1;
};

struct Lengths
{
    double L1 = 0, L2 = 0, L3 = 0, Lkl = 0, Lkr = 0;

    // Summed in this order, as the analysis does.
    double total() const { return L1 + L2 + L3 + Lkl + Lkr; }
    double ofLabel(int label) const
    {
        const double byLabel[SketchLabelCount] = {Lkl, L1, L2, L3, Lkr};
        return byLabel[label];
    }
};

Lengths lengthsOf(const std::array<double, RegionCount> &length)
{
    return {length[LengthL1], length[LengthL2], length[LengthL3], length[LengthLeft], length[LengthRight]};
}

// Whether the load of each slot acts: the analysis's filter, so that no
// picture shows a load the results leave out.
using ActingSlots = std::array<bool, PointLoadSlotCount>;

ActingSlots actingSlots(const NumericBeam &beam)
{
    ActingSlots acts;
    acts.fill(true);
    for (const InactivePointLoad &load : InactivePointLoads(beam))
        acts[std::size_t(load.slot)] = false;
    return acts;
}

// The point loads a diagram walks in a region: slot by slot up to the first
// empty slot, passing over the loads that do not act.
struct WalkedLoads
{
    std::array<double, SpanSlots> F{};
    std::array<double, SpanSlots> a{};
    int count = 0;
};

WalkedLoads walkedLoads(const NumericBeam &beam, const ActingSlots &acts, int region)
{
    WalkedLoads loads;
    for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot) {
        if (!acts[std::size_t(slot)])
            continue;
        const SlotLoad &p = beam.point[std::size_t(slot)];
        if (p.F == 0.0)
            break;
        loads.F[std::size_t(loads.count)] = p.F;
        loads.a[std::size_t(loads.count)] = p.a;
        ++loads.count;
    }
    return loads;
}

// The horizontal scale k = 800 / TotalLength. A total of 0 (all lengths 0,
// or lengths that cancel) or one that is not finite has no scale: then only
// the parts that do not depend on it are drawn (beam, dimension line, end
// ticks) and every label stays hidden. A negative total is drawn as computed.
struct Scale
{
    double k = 0;
    bool valid = false;

    explicit Scale(double total)
    {
        if (!std::isfinite(total) || total == 0.0)
            return;
        k = (BeamRight - BeamLeft) / total;
        valid = std::isfinite(k);   // a subnormal total overflows the scale
        if (!valid)
            k = 0;
    }
    double fromLeft(double s) const { return s * k + BeamLeft; }
    double fromRight(double r) const { return BeamRight - r * k; }
};

struct Supports
{
    double first, second, third, last;
};

Supports supportPositions(const Lengths &l, const Scale &scale)
{
    return {scale.fromLeft(l.Lkl), scale.fromRight(l.L2 + l.L3 + l.Lkr), scale.fromRight(l.L3 + l.Lkr),
            scale.fromRight(l.Lkr)};
}

void drawSupportTick(Pen &pen, double x)
{
    pen.line(x, 240, x, 190);
}

void drawFixedSupport(Pen &pen, double x)
{
    pen.line(x - 20, 150, x, BeamAxisY);
    pen.line(x, BeamAxisY, x + 20, 150);
    pen.line(x - 20, 150, x + 20, 150);
}

void drawMovableSupport(Pen &pen, double x)
{
    drawFixedSupport(pen, x);
    pen.line(x - 20, 160, x + 20, 160);
}

// Beam, dimension line, ticks and support symbols, all black.
void drawBaseSketch(Pen &pen, const Lengths &l, const Scale &scale)
{
    pen.setColor(PaletteBlack);
    pen.setWidth(2);
    pen.line(BeamLeft, BeamAxisY, BeamRight, BeamAxisY);
    pen.setWidth(1);
    pen.line(90, 220, 910, 220);
    pen.line(BeamLeft, 240, BeamLeft, 190);
    pen.line(BeamRight, 240, BeamRight, 190);
    if (!scale.valid)
        return;
    const Supports s = supportPositions(l, scale);
    drawSupportTick(pen, s.first);
    drawSupportTick(pen, s.last);
    drawSupportTick(pen, s.third);
    drawSupportTick(pen, s.second);
    drawFixedSupport(pen, s.first);
    drawMovableSupport(pen, s.last);
    drawMovableSupport(pen, s.third);
    drawMovableSupport(pen, s.second);
}

// Left edge of length label 0..4: the midpoint of its stretch of beam,
// moved left by 100 - offset (offset 70 in the sketch, 80 in the results).
double lengthLabelLeft(int label, const Lengths &l, double k, double offset)
{
    switch (label) {
    case 0:
        return l.Lkl * k / 2 + offset;
    case 1:
        return l.Lkl * k + offset + l.L1 * k / 2;
    case 2:
        return l.Lkl * k + offset + l.L1 * k + l.L2 * k / 2;
    case 3:
        return l.Lkl * k + offset + l.L1 * k + l.L2 * k + l.L3 * k / 2;
    default:
        return 800 + offset - l.Lkr * k / 2;
    }
}

// A label is shown only where its left edge is a usable number.
void showAt(DisplayLabel &label, double left)
{
    if (!std::isfinite(left))
        return;
    label.left = std::clamp(left, -CoordinateLimit, CoordinateLimit);
    label.visible = true;
}

std::vector<DisplayLabel> resultsLabels()
{
    std::vector<DisplayLabel> labels(ResultsLabelCount);
    for (int i = 0; i < ResultsLabelCount; ++i) {
        DisplayLabel &label = labels[i];
        label.width = twipsToX(TwipsLabelWidth, ResultsTwipsWidth);
        label.height = twipsToY(TwipsLabelHeight, ResultsTwipsHeight);
        const double topTwips = i < RegionLoadLabel ? 1800.0 : i < ForceLabel ? 480.0 : 240.0;
        label.top = twipsToY(topTwips, ResultsTwipsHeight);
        label.color = i < RegionLoadLabel ? PaletteBlack : LabelBlue;
    }
    return labels;
}

// Arrow position of a slot's point load; a is measured from the start node
// of its region, for the right cantilever from its support.
double pointLoadX(int slot, double a, const Lengths &l, const Scale &scale)
{
    switch (RegionOfSlot(slot)) {
    case Span1:
        return scale.fromLeft(a + l.Lkl);
    case Span2:
        return scale.fromLeft(l.L1 + l.Lkl + a);
    case Span3:
        return scale.fromLeft(l.L1 + l.Lkl + l.L2 + a);
    case LeftCantilever:
        return scale.fromLeft(a);
    default:
        return (a - l.Lkr) * scale.k + BeamRight;
    }
}

void computeUniformLoadSums(const NumericBeam &beam, CalcSession &session)
{
    for (int region = Span1; region <= RightCantilever; ++region)
        session.UniformLoadSum[region] = beam.uniformSum(region);
}

// The first of span 1, span 2, span 3, left and right cantilever that is not
// smaller than any other; NaN when no such region exists (a NaN sum).
double largestRegionLoad(const CalcSession &session)
{
    for (int r = Span1; r <= RightCantilever; ++r) {
        bool largest = true;
        for (int o = Span1; o <= RightCantilever; ++o)
            if (o != r && !(session.UniformLoadSum[r] >= session.UniformLoadSum[o]))
                largest = false;
        if (largest)
            return session.UniformLoadSum[r];
    }
    return std::nan("");
}

void drawLoadRectangles(Pen &pen, const Lengths &l, const Scale &scale, const CalcSession &session)
{
    // Only point loads (largest region load 0), or a sum that is not a
    // number: the heights have no scale and the rectangles are left out, so
    // no load is suggested where there is none.
    const double qmax = largestRegionLoad(session);
    if (!std::isfinite(qmax) || qmax == 0.0)
        return;
    const auto top = [&](int region) { return LoadBaseY - session.UniformLoadSum[region] / qmax * RectangleHeight; };
    const double k = scale.k;
    pen.rectangle(BeamLeft, top(LeftCantilever), l.Lkl * k + BeamLeft, LoadBaseY);
    pen.rectangle(l.Lkl * k + BeamLeft, top(Span1), (l.L1 + l.Lkl) * k + BeamLeft, LoadBaseY);
    pen.rectangle((l.L1 + l.Lkl) * k + BeamLeft, top(Span2), (l.L1 + l.Lkl + l.L2) * k + BeamLeft, LoadBaseY);
    pen.rectangle((l.L1 + l.Lkl + l.L2) * k + BeamLeft, top(Span3), (l.L1 + l.Lkl + l.L2 + l.L3) * k + BeamLeft,
                  LoadBaseY);
    pen.rectangle(BeamRight - l.Lkr * k, top(RightCantilever), BeamRight, LoadBaseY);
}

void drawPointLoads(Pen &pen, const NumericBeam &beam, const Lengths &l, const Scale &scale,
                    std::vector<DisplayLabel> &labels, const QLocale &locale)
{
    const ActingSlots acts = actingSlots(beam);
    auto force = [&](int slot) { return acts[std::size_t(slot)] ? beam.point[std::size_t(slot)].F : 0.0; };
    double fmax = 0.0;
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        const double f = force(slot);
        if (f >= fmax)
            fmax = f;
    }
    // No positive force (or an infinite one): the shafts have no scale, so
    // every arrow gets the full shaft length, pointing the way its force does.
    const bool scaled = std::isfinite(fmax) && fmax > 0.0;
    for (int region = Span1; region <= RightCantilever; ++region) {
        for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot) {
            const double f = force(slot);
            if (f == 0.0)
                continue;
            const double x = pointLoadX(slot, beam.point[std::size_t(slot)].a, l, scale);
            const double shaft = scaled ? f / fmax * ShaftLength : std::copysign(ShaftLength, f);
            pen.line(x, LoadBaseY - shaft, x, LoadBaseY);
            pen.line(x - 4, 100, x, LoadBaseY);
            pen.line(x + 4, 100, x, LoadBaseY);
            DisplayLabel &label = labels[ForceLabel + slot];
            label.text = FormatFixed(f, 2, locale);
            showAt(label, x - 5);
        }
    }
}

// Scale of the moment and shear diagrams: the largest magnitude lies 90
// units from the axis. A governing value of 0 (or not a number) gives no
// scale; the diagram is then drawn flat on the axis.
struct DiagramScale
{
    Scale horizontal;
    double governing;

    double x(double s) const { return horizontal.fromLeft(s); }
    double y(double value) const
    {
        const double g = std::abs(governing);
        if (!std::isfinite(g) || g == 0.0)
            return BeamAxisY;
        return BeamAxisY + value / g * DiagramHeight;
    }
};

struct MomentRegion
{
    double x0, length, moment, shear, load;
    int region;
};

void walkMomentRegion(Pen &pen, const MomentRegion &r, const WalkedLoads &loads, const DiagramScale &scale)
{
    double x = r.x0;
    double m = r.moment;
    double v = r.shear;
    int next = 0;
    for (int j = 1; j <= 10;) {
        const double s = j * r.length / 10;
        double nextX = r.x0 + s;
        double force = 0.0;
        // A load at a sample is applied before it.
        if (next < loads.count && s >= loads.a[std::size_t(next)]) {
            force = loads.F[std::size_t(next)];
            nextX = r.x0 + loads.a[std::size_t(next)];
        }
        const bool atLoad = force != 0.0;
        const double d = nextX - x;
        const double nextM = m + d * v - d * d * r.load / 2;
        pen.line(scale.x(x), scale.y(m), scale.x(nextX), scale.y(nextM));
        v -= d * r.load;
        if (atLoad) {
            v -= force;
            ++next;
        } else {
            ++j;
        }
        x = nextX;
        m = nextM;
    }
}

struct ShearRegion
{
    double x0, startShear, load;
    int region;
    double endPosition, endShear;
};

void walkShearRegion(Pen &pen, const ShearRegion &r, const WalkedLoads &loads, const DiagramScale &scale)
{
    double x = r.x0;
    double v = r.startShear;
    for (int i = 0; i < loads.count; ++i) {
        const double force = loads.F[std::size_t(i)];
        const double a = loads.a[std::size_t(i)];
        // The rise is taken from the distances, not from the drawn positions.
        const double previousA = i == 0 ? 0.0 : loads.a[std::size_t(i - 1)];
        const double sloped = v - (a - previousA) * r.load;
        const double stepped = sloped - force;
        pen.line(scale.x(x), scale.y(v), scale.x(r.x0 + a), scale.y(sloped));
        pen.line(scale.x(r.x0 + a), scale.y(sloped), scale.x(r.x0 + a), scale.y(stepped));
        x = r.x0 + a;
        v = stepped;
    }
    // The closing segment ends at the analysis's value, not the walked one.
    pen.line(scale.x(x), scale.y(v), scale.x(r.endPosition), scale.y(r.endShear));
}

} // namespace

bool HasHorizontalScale(double totalLength)
{
    return Scale(totalLength).valid;
}

DisplayList DrawSystemSketch(const std::array<QString, RegionCount> &lengthTexts, CalcSession &session,
                             const QLocale &locale)
{
    DisplayList list;
    list.clears = true;
    list.labels.resize(SketchLabelCount);
    for (DisplayLabel &label : list.labels) {
        label.width = twipsToX(TwipsLabelWidth, SketchTwipsWidth);
        label.height = twipsToY(TwipsLabelHeight, SketchTwipsHeight);
        label.top = twipsToY(SketchTwipsLabelTop, SketchTwipsHeight);
        label.color = PaletteBlack;
    }

    const Lengths l = lengthsOf(ReadLengths(lengthTexts));
    session.TotalLength = l.total();
    const Scale scale(session.TotalLength);

    Pen pen(list);
    drawBaseSketch(pen, l, scale);

    for (int i = 0; i < SketchLabelCount; ++i)
        list.labels[i].text = FormatFixed(l.ofLabel(i), 2, locale);
    if (scale.valid) {
        for (int i = 0; i < SketchLabelCount; ++i)
            if (l.ofLabel(i) != 0.0)
                showAt(list.labels[i], lengthLabelLeft(i, l, scale.k, 70));
    }
    return list;
}

DisplayList DrawSystemAndLoadPicture(const NumericBeam &beam, CalcSession &session, const QLocale &locale)
{
    DisplayList list;
    list.clears = true;
    list.labels = resultsLabels();

    const Lengths l = lengthsOf(beam.length);
    session.TotalLength = l.total();
    const Scale scale(session.TotalLength);

    Pen pen(list);
    drawBaseSketch(pen, l, scale);
    computeUniformLoadSums(beam, session);

    // Region loads by label: left cantilever, span 1, span 2, span 3, right cantilever.
    const int regionOfLabel[SketchLabelCount] = {LeftCantilever, Span1, Span2, Span3, RightCantilever};
    for (int i = 0; i < SketchLabelCount; ++i) {
        list.labels[i].text = FormatFixed(l.ofLabel(i), 2, locale);
        list.labels[RegionLoadLabel + i].text = FormatFixed(session.UniformLoadSum[regionOfLabel[i]], 2, locale);
    }
    if (!scale.valid)
        return list;

    for (int i = 0; i < SketchLabelCount; ++i) {
        // Shown by its length, not by its load.
        if (l.ofLabel(i) == 0.0)
            continue;
        const double left = lengthLabelLeft(i, l, scale.k, 80);
        showAt(list.labels[i], left);
        showAt(list.labels[RegionLoadLabel + i], left);
    }

    pen.setColor(PaletteDarkBlue);
    drawLoadRectangles(pen, l, scale, session);
    drawPointLoads(pen, beam, l, scale, list.labels, locale);
    return list;
}

DisplayList DrawMomentDiagram(const NumericBeam &beam, CalcSession &session)
{
    DisplayList list;
    list.clears = false;
    const Lengths l = lengthsOf(beam.length);
    session.TotalLength = l.total();
    computeUniformLoadSums(beam, session);
    const DiagramScale scale{Scale(session.TotalLength), session.design.GoverningMoment};
    // Without a horizontal scale there is no place to draw the line at.
    if (!scale.horizontal.valid)
        return list;

    Pen pen(list);
    pen.setColor(PaletteRed);
    pen.setWidth(2);
    const ResultSet &r = session.results;
    const auto &q = session.UniformLoadSum;
    // The right cantilever starts from the last support the system has.
    const bool oneSpan = l.L2 + l.L3 == 0.0;
    const bool twoSpans = !oneSpan && l.L3 == 0.0;
    const double rightMoment = oneSpan ? r.MB : twoSpans ? r.MC : r.MD;
    const double rightShear = oneSpan ? r.Bre : twoSpans ? r.Cre : r.Dre;
    const MomentRegion regions[RegionCount] = {
        {0.0, l.Lkl, 0.0, 0.0, q[LeftCantilever], LeftCantilever},
        {l.Lkl, l.L1, r.MA, r.Are, q[Span1], Span1},
        {l.Lkl + l.L1, l.L2, r.MB, r.Bre, q[Span2], Span2},
        {l.Lkl + l.L1 + l.L2, l.L3, r.MC, r.Cre, q[Span3], Span3},
        {l.Lkl + l.L1 + l.L2 + l.L3, l.Lkr, rightMoment, rightShear, q[RightCantilever], RightCantilever},
    };
    const ActingSlots acts = actingSlots(beam);
    for (const MomentRegion &region : regions)
        walkMomentRegion(pen, region, walkedLoads(beam, acts, region.region), scale);
    return list;
}

DisplayList DrawShearDiagram(const NumericBeam &beam, CalcSession &session)
{
    DisplayList list;
    list.clears = false;
    const Lengths l = lengthsOf(beam.length);
    session.TotalLength = l.total();
    computeUniformLoadSums(beam, session);
    const DiagramScale scale{Scale(session.TotalLength), session.design.GoverningShear};
    if (!scale.horizontal.valid)
        return list;

    Pen pen(list);
    pen.setColor(PaletteGreen);
    pen.setWidth(2);
    const ResultSet &r = session.results;
    const auto &q = session.UniformLoadSum;
    const bool oneSpan = l.L2 + l.L3 == 0.0;
    const bool twoSpans = !oneSpan && l.L3 == 0.0;
    const double rightShear = oneSpan ? r.Bre : twoSpans ? r.Cre : r.Dre;
    const double endLeft = l.Lkl;
    const double end1 = l.Lkl + l.L1;
    const double end2 = end1 + l.L2;
    const double end3 = end2 + l.L3;
    const ShearRegion regions[RegionCount] = {
        {0.0, 0.0, q[LeftCantilever], LeftCantilever, endLeft, r.Ali},
        {l.Lkl, r.Are, q[Span1], Span1, end1, r.Bli},
        {end1, r.Bre, q[Span2], Span2, end2, r.Cli},
        {end2, r.Cre, q[Span3], Span3, end3, r.Dli},
        {end3, rightShear, q[RightCantilever], RightCantilever, session.TotalLength, 0.0},
    };
    const ActingSlots acts = actingSlots(beam);
    // Shear just right of each support, drawn as the jump after its region.
    const double rightOfSupport[RegionCount - 1] = {r.Are, r.Bre, r.Cre, r.Dre};
    for (int i = 0; i < RegionCount; ++i) {
        const ShearRegion &region = regions[i];
        walkShearRegion(pen, region, walkedLoads(beam, acts, region.region), scale);
        if (i < RegionCount - 1)
            pen.line(scale.x(region.endPosition), scale.y(region.endShear), scale.x(region.endPosition),
                     scale.y(rightOfSupport[i]));
    }
    return list;
}

} // namespace varno
