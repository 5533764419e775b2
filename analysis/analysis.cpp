// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/analysis.h"

#include "analysis/resultquantities.h"
#include "analysis/spanterms.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace varno {

namespace {

// Whether the load of each slot acts. A load does not act when it stands in
// the row of a region the system does not have (a span beyond the span
// count, a cantilever of length 0), or outside its region (a < 0 or
// a > length; a = 0 and a = length stand at the ends of the region and act).
// The one place where such loads are found: every computation reads its
// loads through here (RunAnalysis, ActingLoads), and so do the pictures
// (InactivePointLoads), so all of them see the same beam. The loads left out
// are added to `inactive` (if given) in slot order.
using ActingSlots = std::array<bool, PointLoadSlotCount>;

ActingSlots actingSlots(const NumericBeam &beam, int spans, std::vector<InactivePointLoad> *inactive)
{
    ActingSlots acts;
    for (int region = Span1; region <= RightCantilever; ++region) {
        const double length = beam.regionLength(region);
        const bool exists = region <= Span3 ? region <= spans : length != 0;
        for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot) {
            const SlotLoad &p = beam.point[std::size_t(slot)];
            const bool act = p.F == 0 || (exists && p.a >= 0 && p.a <= length);
            acts[std::size_t(slot)] = act;
            if (!act && inactive)
                inactive->push_back({region, slot, p.F, p.a, length,
                                     exists ? InactiveCause::OutsideRegion : InactiveCause::NoRegion});
        }
    }
    return acts;
}

// The loads of a region in order of distance: the fields keep the rows as
// typed, the computation does not depend on their order. A load that does
// not act leaves its row empty.
template<int Slots>
RegionLoads<Slots> regionLoads(const NumericBeam &beam, const ActingSlots &acts, int region)
{
    RegionLoads<Slots> loads;
    loads.length = beam.regionLength(region);
    loads.q = beam.uniformSum(region);
    for (int i = 0; i < Slots; ++i) {
        const std::size_t slot = std::size_t(FirstSlot(region) + i);
        if (!acts[slot])
            continue;
        loads.F[std::size_t(i)] = beam.point[slot].F;
        loads.a[std::size_t(i)] = beam.point[slot].a;
    }
    return IsInDistanceOrder(loads) ? loads : InDistanceOrder(loads);
}

BeamLoads actingLoads(const NumericBeam &beam, const ActingSlots &acts)
{
    return {{regionLoads<SpanSlots>(beam, acts, Span1), regionLoads<SpanSlots>(beam, acts, Span2),
             regionLoads<SpanSlots>(beam, acts, Span3)},
            regionLoads<CantileverSlots>(beam, acts, LeftCantilever),
            regionLoads<CantileverSlots>(beam, acts, RightCantilever)};
}

// The warnings of `count` unloaded spans. Every warning has the same text,
// so the lists are made once and shared: an analysis allocates nothing for
// them (the Eurocode check analyses one unit beam after the other, most of
// whose spans carry nothing).
const QStringList &noLoadWarnings(int count)
{
    static const std::array<QStringList, 4> lists = [] {
        std::array<QStringList, 4> out;
        for (int n = 1; n < 4; ++n)
            out[std::size_t(n)] = QStringList(n, NoLoadWarningText);
        return out;
    }();
    return lists[std::size_t(count)];
}

// Load terms of the three-moment equation (6·A·x̄/l²) at the right and left
// end of a span.
double rightLoadTerm(const SpanLoads &s)
{
    const double l = s.length;
    double r = s.q * l * l / 4;
    for (int i = 0; i < SpanSlots; ++i)
        r += s.F[i] * s.a[i] * (l - s.a[i]) * (l + s.a[i]) / (l * l);
    return r;
}

double leftLoadTerm(const SpanLoads &s)
{
    const double l = s.length;
    double r = s.q * l * l / 4;
    for (int i = 0; i < SpanSlots; ++i)
        r += s.F[i] * s.a[i] * (l - s.a[i]) * (2 * l - s.a[i]) / (l * l);
    return r;
}

// Shear just right of the left support and just left of the right support.
double shearRightOfLeftSupport(const SpanLoads &s, double Ml, double Mr)
{
    const double l = s.length;
    double sum = s.q * l * l / 2;
    for (int i = 0; i < SpanSlots; ++i)
        sum += s.F[i] * (l - s.a[i]);
    return (sum - Ml + Mr) / l;
}

double shearLeftOfRightSupport(const SpanLoads &s, double Ml, double Mr)
{
    const double l = s.length;
    double sum = s.q * l * l / 2;
    for (int i = 0; i < SpanSlots; ++i)
        sum += s.F[i] * s.a[i];
    return -(sum + Ml - Mr) / l;
}

// The first result that is infinite or not a number, if any.
std::optional<QString> nonFiniteResult(const ResultSet &r)
{
    for (const ResultQuantity &q : ResultQuantities)
        if (!std::isfinite(q.value(r)))
            return QStringLiteral("Mit diesen Längen und Lasten wird %1 unendlich groß oder unbestimmt. Prüfen Sie "
                                  "die Längen und Lasten auf sehr große, sehr kleine oder sich aufhebende Werte.")
                .arg(q.key());
    return std::nullopt;
}

// Where a span or cantilever carries an upward load, its moment line need
// not have its largest value at the point of zero shear nor its smallest at
// a support, nor its shear the largest magnitude at a support: the design
// then takes the moment and the shear of largest magnitude of the exact
// lines, and every such region is named.
template<int Slots>
bool loadedUpward(const RegionLoads<Slots> &loads)
{
    if (loads.q < 0)
        return true;
    return std::any_of(loads.F.begin(), loads.F.end(), [](double f) { return f < 0; });
}

bool anyLoadedUpward(const BeamLoads &loads, int spans, const ResultSet &r)
{
    for (int j = 0; j < spans; ++j)
        if (loadedUpward(loads.span[std::size_t(j)]))
            return true;
    return (r.Lkl != 0 && loadedUpward(loads.left)) || (r.Lkr != 0 && loadedUpward(loads.right));
}

void findLoadsBothWays(const BeamLoads &loads, AnalysisOutcome &out, ResultSet &r)
{
    const double MF[3] = {r.MF1, r.MF2, r.MF3};
    for (int region = 0; region < LineRegionCount; ++region) {
        const RegionLine &line = out.lines.region[std::size_t(region)];
        if (!line.exists)
            continue;
        const bool upward = region < LineLeftCantilever ? loadedUpward(loads.span[std::size_t(region)])
            : region == LineLeftCantilever             ? loadedUpward(loads.left)
                                                       : loadedUpward(loads.right);
        if (!upward)
            continue;
        UpwardLoadRegion u;
        u.region = region;
        u.extremes = line.extremes;
        if (region < LineLeftCantilever) {
            u.spanMoment = MF[region];
            const double Mmax = line.extremes.Mmax;
            u.spanMomentBelowMax = u.spanMoment < Mmax - 1e-9 * std::max(1.0, std::fabs(Mmax));
        }
        out.upward.push_back(u);
    }
    if (out.upward.empty())
        return;
    r.lineMoment = 0;
    r.lineShear = 0;
    for (const RegionLine &line : out.lines.region) {
        if (!line.exists)
            continue;
        for (double m : {line.extremes.Mmax, line.extremes.Mmin})
            if (std::fabs(m) > std::fabs(r.lineMoment))
                r.lineMoment = m;
        if (std::fabs(line.extremes.Vmax) > std::fabs(r.lineShear))
            r.lineShear = line.extremes.Vmax;
    }
}

AnalysisOutcome refuse(AnalysisOutcome out, const QString &message)
{
    out.refused = true;
    out.refusal = message;
    out.lines = BeamLines{};
    out.upward.clear();
    out.inactive.clear();
    // The refusal names what to mend; a load warning of a run that produced
    // nothing would only stand in its way.
    out.warnings.clear();
    return out;
}

} // namespace

std::vector<InactivePointLoad> InactivePointLoads(const NumericBeam &beam)
{
    std::vector<InactivePointLoad> inactive;
    actingSlots(beam, beam.spans(), &inactive);
    return inactive;
}

BeamLoads ActingLoads(const NumericBeam &beam)
{
    return actingLoads(beam, actingSlots(beam, beam.spans(), nullptr));
}

AnalysisOutcome RunAnalysis(const ProjectTexts &texts, ResultSet &results, Lines lines)
{
    return RunAnalysis(ReadBeam(texts), results, lines);
}

AnalysisOutcome RunAnalysis(const NumericBeam &beam, ResultSet &results, Lines lines)
{
    AnalysisOutcome out;
    out.spans = beam.spans();
    // Every number is checked first, also those of loads that do not act.
    if (const auto cause = BeamRefusal(beam))
        return refuse(out, *cause);

    const ActingSlots acts = actingSlots(beam, out.spans, &out.inactive);

    // Work on a copy: a refused run must leave the caller's results as they were.
    ResultSet r;
    r.xF1 = results.xF1;
    r.xF2 = results.xF2;
    r.xF3 = results.xF3;
    r.L1 = beam.length[LengthL1];
    r.L2 = beam.length[LengthL2];
    r.L3 = beam.length[LengthL3];
    r.Lkl = beam.length[LengthLeft];
    r.Lkr = beam.length[LengthRight];

    const BeamLoads loads = actingLoads(beam, acts);
    const std::array<SpanLoads, 3> &span = loads.span;
    const CantileverLoads &left = loads.left;
    const CantileverLoads &right = loads.right;

    // Cantilever moments are the known end moments.
    r.MA = -left.q * r.Lkl * r.Lkl / 2;
    for (int i = 0; i < CantileverSlots; ++i)
        r.MA -= left.F[i] * (r.Lkl - left.a[i]);
    double lastMoment = -right.q * r.Lkr * r.Lkr / 2;
    for (int i = 0; i < CantileverSlots; ++i)
        lastMoment -= right.F[i] * right.a[i];

    const double l1 = r.L1, l2 = r.L2, l3 = r.L3;
    if (out.spans == 1) {
        r.MB = lastMoment;
    } else if (out.spans == 2) {
        r.MC = lastMoment;
        const double R1 = rightLoadTerm(span[0]);
        const double Lt2 = leftLoadTerm(span[1]);
        r.MB = -((R1 + r.MA) * l1 + Lt2 * l2 + r.MC * l2) / (2 * (l1 + l2));
    } else {
        r.MD = lastMoment;
        const double R1 = rightLoadTerm(span[0]);
        const double R2 = rightLoadTerm(span[1]);
        const double Lt2 = leftLoadTerm(span[1]);
        const double Lt3 = leftLoadTerm(span[2]);
        const double MA = r.MA, MD = r.MD;
        // The equations for B and C solved together.
        r.MC = -(2 * Lt3 * l3 * (l1 + l2) - l2 * l2 * Lt2 + (2 * l3 * MD - (MA - 2 * R2 + R1) * l2) * l1
                 + (R2 * l2 + MD * l3) * 2 * l2)
            / ((4 * l3 + 3 * l2) * l2 + (l3 + l2) * 4 * l1);
        r.MB = -((R1 + MA) * l1 + Lt2 * l2 + r.MC * l2) / (2 * (l1 + l2));
    }

    const double supportMoment[4] = {r.MA, r.MB, r.MC, r.MD};
    r.Ali = -left.q * r.Lkl;
    for (int i = 0; i < CantileverSlots; ++i)
        r.Ali -= left.F[i];
    double lastShear = right.q * r.Lkr;
    for (int i = 0; i < CantileverSlots; ++i)
        lastShear += right.F[i];

    double *rightOf[3] = {&r.Are, &r.Bre, &r.Cre};
    double *leftOf[3] = {&r.Bli, &r.Cli, &r.Dli};
    for (int j = 0; j < out.spans; ++j) {
        *rightOf[j] = shearRightOfLeftSupport(span[j], supportMoment[j], supportMoment[j + 1]);
        *leftOf[j] = shearLeftOfRightSupport(span[j], supportMoment[j], supportMoment[j + 1]);
    }
    double *endShear[3] = {&r.Bre, &r.Cre, &r.Dre};
    *endShear[out.spans - 1] = lastShear;

    double *xF[3] = {&r.xF1, &r.xF2, &r.xF3};
    const double V0[3] = {r.Are, r.Bre, r.Cre};
    int unloadedSpans = 0;
    for (int j = 0; j < out.spans; ++j)
        if (!FindZeroShear(span[j], V0[j], *xF[j]))
            ++unloadedSpans;
    out.warnings = noLoadWarnings(unloadedSpans);

    if (r.Lkl != 0)
        r.EIwKl = LeftCantileverDeflection(span[0], r.MA, r.MB, left);
    if (r.Lkr != 0) {
        const int last = out.spans - 1;
        r.EIwKr = RightCantileverDeflection(span[last], supportMoment[last], supportMoment[last + 1], right);
    }

    double *MF[3] = {&r.MF1, &r.MF2, &r.MF3};
    double *EIf[3] = {&r.EIf1, &r.EIf2, &r.EIf3};
    for (int j = 0; j < out.spans; ++j) {
        *MF[j] = SpanMoment(span[j], V0[j], supportMoment[j], *xF[j]);
        *EIf[j] = SpanDeflection(span[j], supportMoment[j], supportMoment[j + 1]);
    }

    if (const auto cause = nonFiniteResult(r))
        return refuse(out, *cause);

    const bool upward = anyLoadedUpward(loads, out.spans, r);
    if (upward || lines == Lines::Wanted) {
        out.lines = ExactBeamLines(r, out.spans, loads);
        // The design of a beam with upward loads needs its lines.
        if (upward && !out.lines.valid)
            return refuse(out, QStringLiteral("Mit diesen Längen und Lasten wird die Momentenlinie unendlich groß "
                                              "oder unbestimmt. Prüfen Sie die Längen und Lasten auf sehr große, "
                                              "sehr kleine oder sich aufhebende Werte."));
        if (upward)
            findLoadsBothWays(loads, out, r);
    }

    results = r;
    return out;
}

} // namespace varno
