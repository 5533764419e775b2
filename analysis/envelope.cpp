// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/envelope.h"

#include "analysis/analysis.h"

#include <QStringList>

#include <algorithm>

namespace varno {

namespace {

bool regionOn(int pattern, int region)
{
    return (pattern >> (region - 1)) & 1;
}

// A span without uniform load and without point load: its moment line runs
// straight from one support moment to the other.
bool spanUnloaded(const ProjectTexts &texts, int region)
{
    if (texts.uniformLoadSum(region) != 0)
        return false;
    for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot)
        if (texts.pointForce(slot) != 0)
            return false;
    return true;
}

// Sets the variable loads of `work` to those of `texts` for the regions
// whose bit is set and to "0" for the others.
void setPatternLoads(ProjectTexts &work, const ProjectTexts &texts, int pattern)
{
    static const QString zero = QStringLiteral("0");
    for (int region = 1; region <= RegionCount; ++region)
        for (int type : {LoadQ, LoadS, LoadW})
            work.uniform[region - 1][type] = regionOn(pattern, region) ? texts.uniform[region - 1][type] : zero;
}

} // namespace

ProjectTexts PatternTexts(const ProjectTexts &texts, int pattern)
{
    ProjectTexts out = texts;
    setPatternLoads(out, texts, pattern);
    return out;
}

QString PatternRegions(int pattern)
{
    QStringList on;
    for (int region = 1; region <= RegionCount; ++region)
        if (regionOn(pattern, region))
            on << texts::RegionLabels[region - 1];
    return on.isEmpty() ? QStringLiteral("keine") : on.join(QStringLiteral(", "));
}

LoadEnvelope RunEnvelope(const ProjectTexts &texts)
{
    LoadEnvelope env;
    // One working copy whose variable loads each pattern sets: copying all
    // 80 texts per pattern would cost as much as a third of the analysis.
    ProjectTexts patternTexts = texts;
    // The full pattern first: its refusal is the program's own.
    for (int step = 0; step < LoadPatternCount; ++step) {
        const int pattern = FullLoadPattern - step;
        setPatternLoads(patternTexts, texts, pattern);
        ResultSet r;
        const AnalysisOutcome outcome = RunAnalysis(patternTexts, r);
        if (outcome.refused) {
            env.refused = true;
            env.refusal = pattern == FullLoadPattern
                ? outcome.refusal
                : QStringLiteral("Umhüllende nicht berechnet: das Lastbild %1 (veränderliche Lasten auf: %2) "
                                 "ist nicht berechenbar. %3")
                      .arg(pattern)
                      .arg(PatternRegions(pattern), outcome.refusal);
            return env;
        }
        env.spans = outcome.spans;

        for (int s = 0; s < env.supports(); ++s) {
            env.supportMoment[s].take(SupportMomentQuantities[s]->value(r));
            env.shear[2 * s].take(ShearQuantities[2 * s]->value(r));
            env.shear[2 * s + 1].take(ShearQuantities[2 * s + 1]->value(r));
            env.reaction[s].take(ReactionQuantities[s]->value(r));
        }
        for (int j = 0; j < env.spans; ++j) {
            const double mf = spanUnloaded(patternTexts, Span1 + j)
                ? std::max(SupportMomentQuantities[j]->value(r), SupportMomentQuantities[j + 1]->value(r))
                : SpanMomentQuantities[j]->value(r);
            env.spanMomentMax[j] = step == 0 ? mf : std::max(env.spanMomentMax[j], mf);
        }
    }
    return env;
}

} // namespace varno
