// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/envelope.h"

#include "analysis/analysis.h"
#include "analysis/quadratic.h"
#include "analysis/superposition.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace varno {

namespace {

constexpr int VariableKinds[VariableLoadKinds] = {LoadQ, LoadS, LoadW};

int regionOf(int loadSwitch)
{
    return loadSwitch / VariableLoadKinds + 1;
}

int kindOf(int loadSwitch)
{
    return VariableKinds[loadSwitch % VariableLoadKinds];
}

// One analysed part of the envelope: the permanent loads or one switch.
struct Part
{
    ResultSet results;
    BeamLines lines;
};

// A quadratic c0 + c1·s + c2·s² on [0, h]: its smallest and largest value.
void quadraticRange(double c0, double c1, double c2, double h, ValueRange &range)
{
    range.take(c0);
    range.take(c0 + h * (c1 + h * c2));
    if (c2 != 0) {
        const double s = -c1 / (2 * c2);
        if (s > 0 && s < h)
            range.take(c0 + s * (c1 + s * c2));
    }
}

// The zeros of the moment line inside its pieces.
void addZeros(const RegionLine &line, std::vector<double> &at)
{
    for (int k = 0; k < line.pieceCount; ++k) {
        const LinePiece &p = line.pieces[std::size_t(k)];
        const double h = p.x1 - p.x0;
        double roots[2];
        const int n = QuadraticRootsInside(p.m[0], p.m[1], p.m[2], h, roots);
        for (int i = 0; i < n; ++i)
            at.push_back(p.x0 + roots[i]);
    }
}

// The smallest and the largest moment of span j under the envelope: the
// permanent line plus, at every x, the switches whose moment is positive
// (largest) or negative (smallest) there.
ValueRange spanMomentRange(const Part &permanent, const std::vector<const Part *> &switches, int j)
{
    const RegionLine &base = permanent.lines.region[std::size_t(j)];
    std::vector<double> at{0, base.length};
    for (int k = 1; k < base.pieceCount; ++k)
        at.push_back(base.pieces[std::size_t(k)].x0);
    for (const Part *s : switches) {
        const RegionLine &line = s->lines.region[std::size_t(j)];
        for (int k = 1; k < line.pieceCount; ++k)
            at.push_back(line.pieces[std::size_t(k)].x0);
        addZeros(line, at);
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());

    ValueRange range;
    for (std::size_t i = 0; i + 1 < at.size(); ++i) {
        const double u = at[i], h = at[i + 1] - u, middle = u + h / 2;
        // The polynomials in s = x − u, each piece taken where it holds the middle.
        auto coefficients = [u, middle](const RegionLine &line) {
            const LinePiece &p = line.pieceAt(middle);
            return std::array<double, 3>{p.M(u), p.V(u), p.m[2]};
        };
        WorstBySign<3> sum;
        sum.always(coefficients(base));
        for (const Part *s : switches) {
            const RegionLine &line = s->lines.region[std::size_t(j)];
            sum.add(coefficients(line), line.pieceAt(middle).M(middle));
        }
        const auto &low = sum.low, &high = sum.high;
        ValueRange lowRange, highRange;
        quadraticRange(low[0], low[1], low[2], h, lowRange);
        quadraticRange(high[0], high[1], high[2], h, highRange);
        range.take(lowRange.min);
        range.take(highRange.max);
    }
    range.min = WithoutNegativeZero(range.min);
    range.max = WithoutNegativeZero(range.max);
    return range;
}

QString partRefusal(const QString &part, const QString &cause)
{
    return QStringLiteral("Umhüllende nicht berechnet: %1 ist nicht berechenbar. %2").arg(part, cause);
}

} // namespace

NumericBeam PermanentBeam(const NumericBeam &beam)
{
    return LoadsOfAction(beam, LoadG);
}

NumericBeam SwitchBeam(const NumericBeam &beam, int loadSwitch)
{
    return LoadsOfAction(beam, LoadAction(kindOf(loadSwitch)), regionOf(loadSwitch));
}

QString SwitchName(int loadSwitch)
{
    static const char *const kinds[LoadTypeCount] = {"g", "q", "s", "w"};
    const int region = regionOf(loadSwitch);
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(kinds[kindOf(loadSwitch)]),
             region <= Span3 ? QStringLiteral("in") : QStringLiteral("im"), texts::RegionLabels[region - 1]);
}

LoadEnvelope RunEnvelope(const NumericBeam &beam)
{
    LoadEnvelope env;
    auto refuse = [](const QString &message) {
        LoadEnvelope refused;
        refused.refused = true;
        refused.refusal = message;
        return refused;
    };

    Part permanent;
    const AnalysisOutcome outcome = RunAnalysis(PermanentBeam(beam), permanent.results, Lines::Wanted);
    if (outcome.refused)
        return refuse(partRefusal(QStringLiteral("der Lastfall der ständigen Lasten (g und alle Einzellasten)"),
                                  outcome.refusal));
    permanent.lines = outcome.lines;
    env.spans = outcome.spans;
    if (!permanent.lines.valid)
        return refuse(partRefusal(QStringLiteral("der Lastfall der ständigen Lasten (g und alle Einzellasten)"),
                                  QStringLiteral("Seine Momentenlinie wird unendlich groß.")));

    // A switch without a load contributes nothing.
    std::vector<Part> parts;
    parts.reserve(LoadSwitchCount);
    for (int s = 0; s < LoadSwitchCount; ++s) {
        if (!HasLoadsOfAction(beam, LoadAction(kindOf(s)), regionOf(s)))
            continue;
        Part part;
        const AnalysisOutcome one = RunAnalysis(SwitchBeam(beam, s), part.results, Lines::Wanted);
        if (one.refused)
            return refuse(partRefusal(QStringLiteral("der Lastfall %1 allein").arg(SwitchName(s)), one.refusal));
        part.lines = one.lines;
        if (!part.lines.valid)
            return refuse(partRefusal(QStringLiteral("der Lastfall %1 allein").arg(SwitchName(s)),
                                      QStringLiteral("Seine Momentenlinie wird unendlich groß.")));
        parts.push_back(part);
    }
    std::vector<const Part *> switches;
    for (const Part &p : parts)
        switches.push_back(&p);

    auto range = [&](const ResultQuantity &q) {
        WorstBySign<1> sum;
        for (const Part *p : switches)
            sum.add(q.value(p->results));
        const double base = q.value(permanent.results);
        return ValueRange{WithoutNegativeZero(base + sum.low[0]), WithoutNegativeZero(base + sum.high[0])};
    };
    for (int s = 0; s < env.supports(); ++s) {
        env.supportMoment[s] = range(*SupportMomentQuantities[s]);
        env.shear[2 * s] = range(*ShearQuantities[2 * s]);
        env.shear[2 * s + 1] = range(*ShearQuantities[2 * s + 1]);
        env.reaction[s] = range(*ReactionQuantities[s]);
    }
    for (int j = 0; j < env.spans; ++j)
        env.spanMoment[j] = spanMomentRange(permanent, switches, j);

    bool finite = true;
    for (int s = 0; s < env.supports(); ++s)
        for (const ValueRange &r : {env.supportMoment[s], env.shear[2 * s], env.shear[2 * s + 1], env.reaction[s]})
            finite = finite && std::isfinite(r.min) && std::isfinite(r.max);
    for (int j = 0; j < env.spans; ++j)
        finite = finite && std::isfinite(env.spanMoment[j].min) && std::isfinite(env.spanMoment[j].max);
    if (!finite)
        return refuse(QStringLiteral("Umhüllende nicht berechnet: die Summe der Lastfälle wird unendlich groß. "
                                     "Prüfen Sie die Lasten auf sehr große Werte."));
    return env;
}

} // namespace varno
