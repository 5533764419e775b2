// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/analysis.h"

#include "analysis/resultquantities.h"
#include "analysis/spanterms.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace varno {

namespace {

// The numbers of one run, read once from the texts.
struct Inputs
{
    double length[RegionCount]{};    // L1, L2, L3, Lkl, Lkr
    double q[RegionCount + 1]{};     // index = LoadRegion, g + q + s + w
    double F[PointLoadSlotCount]{};
    double a[PointLoadSlotCount]{};
};

Inputs readInputs(const ProjectTexts &texts)
{
    Inputs in;
    for (int i = 0; i < RegionCount; ++i)
        in.length[i] = texts.length(i);
    for (int r = 1; r <= RegionCount; ++r)
        in.q[r] = texts.uniformLoadSum(r);
    for (int i = 0; i < PointLoadSlotCount; ++i) {
        in.F[i] = texts.pointForce(i);
        in.a[i] = texts.pointDistance(i);
    }
    return in;
}

// The one place where the loads that do not act are left out: every
// computation reads its loads through here (RunAnalysis, ReadBeamLoads), so
// the analysis, the exact lines, the envelope, the design and the Eurocode
// check see the same beam. Returns the loads left out, in slot order.
std::vector<InactivePointLoad> dropInactive(Inputs &in)
{
    std::vector<InactivePointLoad> dropped;
    const int spans = SpanCount(in.length[LengthL2], in.length[LengthL3]);
    for (int i = 0; i < PointLoadSlotCount; ++i) {
        if (in.F[i] == 0)
            continue;
        const int region = RegionOfSlot(i);
        const double length = in.length[region - 1];
        const bool exists = region <= Span3 ? region <= spans : length != 0;
        if (exists && in.a[i] >= 0 && in.a[i] <= length)
            continue;
        dropped.push_back({region, i, in.F[i], in.a[i], length,
                           exists ? InactiveCause::OutsideRegion : InactiveCause::NoRegion});
        in.F[i] = 0;
        in.a[i] = 0;
    }
    return dropped;
}

// The loads of a region in order of distance: the fields keep the rows as
// typed, the computation does not depend on their order.
template<int Slots>
RegionLoads<Slots> regionLoads(const Inputs &in, int region)
{
    RegionLoads<Slots> loads;
    loads.length = in.length[region - 1];
    loads.q = in.q[region];
    for (int i = 0; i < Slots; ++i) {
        loads.F[i] = in.F[FirstSlot(region) + i];
        loads.a[i] = in.a[FirstSlot(region) + i];
    }
    return IsInDistanceOrder(loads) ? loads : InDistanceOrder(loads);
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

QString regionName(int region)
{
    switch (region) {
    case LeftCantilever:
        return QStringLiteral("im linken Kragarm");
    case RightCantilever:
        return QStringLiteral("im rechten Kragarm");
    default:
        return QStringLiteral("in Feld %1").arg(region);
    }
}

// LeadingNumber gives an infinite value only for a number beyond the double
// range, such as 1e999; name the first such field.
std::optional<QString> tooLargeInput(const ProjectTexts &texts, const Inputs &in)
{
    static const char *const lengthNames[RegionCount] = {"Die Feldlänge L1", "Die Feldlänge L2", "Die Feldlänge L3",
                                                         "Die Länge des linken Kragarms",
                                                         "Die Länge des rechten Kragarms"};
    static const char *const loadNames[LoadTypeCount] = {"Die Eigenlast g", "Die Nutzlast q", "Die Schneelast s",
                                                         "Die Windlast w"};
    const QString advice = QStringLiteral(" ist für die Berechnung zu groß. Geben Sie einen kleineren Wert ein.");
    for (int i = 0; i < RegionCount; ++i)
        if (!std::isfinite(in.length[i]))
            return QString::fromUtf8(lengthNames[i]) + advice;
    for (int r = 1; r <= RegionCount; ++r) {
        // A finite sum has only finite parts: the texts of a region are read
        // again only when its sum is not.
        if (std::isfinite(in.q[r]))
            continue;
        for (int k = 0; k < LoadTypeCount; ++k)
            if (!std::isfinite(texts.uniformLoad(r, k)))
                return QString::fromUtf8(loadNames[k]) + u' ' + regionName(r) + advice;
    }
    for (int i = 0; i < PointLoadSlotCount; ++i) {
        const int region = RegionOfSlot(i);
        const int number = i - FirstSlot(region) + 1;
        if (!std::isfinite(in.F[i]))
            return QStringLiteral("Die Einzellast F Nr. %1 ").arg(number) + regionName(region) + advice;
        if (!std::isfinite(in.a[i]))
            return QStringLiteral("Der Abstand a der Einzellast Nr. %1 ").arg(number) + regionName(region) + advice;
    }
    return std::nullopt;
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

std::vector<InactivePointLoad> InactivePointLoads(const ProjectTexts &texts)
{
    Inputs in = readInputs(texts);
    return dropInactive(in);
}

BeamLoads ReadBeamLoads(const ProjectTexts &texts)
{
    Inputs in = readInputs(texts);
    dropInactive(in);
    return {{regionLoads<SpanSlots>(in, Span1), regionLoads<SpanSlots>(in, Span2), regionLoads<SpanSlots>(in, Span3)},
            regionLoads<CantileverSlots>(in, LeftCantilever),
            regionLoads<CantileverSlots>(in, RightCantilever)};
}

int SpanCount(double L2, double L3)
{
    if (L3 != 0)
        return 3;
    if (L2 != 0)
        return 2;
    return 1;
}

AnalysisOutcome RunAnalysis(const ProjectTexts &texts, ResultSet &results, Lines lines)
{
    AnalysisOutcome out;
    Inputs in = readInputs(texts);
    out.spans = SpanCount(in.length[LengthL2], in.length[LengthL3]);

    if (const auto cause = tooLargeInput(texts, in))
        return refuse(out, *cause);
    // Every span length of the system is a divisor below.
    if (in.length[LengthL1] == 0)
        return refuse(out, QStringLiteral("Die Feldlänge L1 ist 0. Geben Sie eine Feldlänge größer als 0 ein."));
    // A negative length is no beam: refused like a first span of 0. A length
    // of 0 for L2, L3 or a cantilever means "no such span".
    static const char *const negativeLength[RegionCount] = {
        "Die Feldlänge L1 ist negativ. Geben Sie eine Feldlänge größer als 0 ein.",
        "Die Feldlänge L2 ist negativ. Geben Sie eine Feldlänge größer als 0 ein oder 0 für kein zweites Feld.",
        "Die Feldlänge L3 ist negativ. Geben Sie eine Feldlänge größer als 0 ein oder 0 für kein drittes Feld.",
        "Die Länge des linken Kragarms ist negativ. Geben Sie eine Länge größer als 0 ein oder 0 für keinen "
        "Kragarm.",
        "Die Länge des rechten Kragarms ist negativ. Geben Sie eine Länge größer als 0 ein oder 0 für keinen "
        "Kragarm."};
    for (int i = 0; i < RegionCount; ++i)
        if (in.length[i] < 0)
            return refuse(out, QString::fromUtf8(negativeLength[i]));
    if (out.spans == 3 && in.length[LengthL2] == 0)
        return refuse(out, QStringLiteral("Die Feldlänge L2 ist 0, die Feldlänge L3 aber nicht. Geben Sie für L2 "
                                          "eine Feldlänge größer als 0 ein oder setzen Sie auch L3 auf 0."));

    // Every text is checked above, also those of loads that do not act.
    out.inactive = dropInactive(in);

    // Work on a copy: a refused run must leave the caller's results as they were.
    ResultSet r;
    r.xF1 = results.xF1;
    r.xF2 = results.xF2;
    r.xF3 = results.xF3;
    r.L1 = in.length[LengthL1];
    r.L2 = in.length[LengthL2];
    r.L3 = in.length[LengthL3];
    r.Lkl = in.length[LengthLeft];
    r.Lkr = in.length[LengthRight];

    const SpanLoads span[3] = {regionLoads<SpanSlots>(in, Span1), regionLoads<SpanSlots>(in, Span2),
                               regionLoads<SpanSlots>(in, Span3)};
    const CantileverLoads left = regionLoads<CantileverSlots>(in, LeftCantilever);
    const CantileverLoads right = regionLoads<CantileverSlots>(in, RightCantilever);

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
    for (int j = 0; j < out.spans; ++j)
        if (!FindZeroShear(span[j], V0[j], *xF[j]))
            out.warnings << NoLoadWarningText;

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

    const BeamLoads beamLoads{{span[0], span[1], span[2]}, left, right};
    const bool upward = anyLoadedUpward(beamLoads, out.spans, r);
    if (upward || lines == Lines::Wanted) {
        out.lines = ExactBeamLines(r, out.spans, beamLoads);
        // The design of a beam with upward loads needs its lines.
        if (upward && !out.lines.valid)
            return refuse(out, QStringLiteral("Mit diesen Längen und Lasten wird die Momentenlinie unendlich groß "
                                              "oder unbestimmt. Prüfen Sie die Längen und Lasten auf sehr große, "
                                              "sehr kleine oder sich aufhebende Werte."));
        if (upward)
            findLoadsBothWays(beamLoads, out, r);
    }

    results = r;
    return out;
}

} // namespace varno
