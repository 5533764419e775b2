// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The envelope of the variable loads. The permanent loads (g and the point
// loads of action G, which are all of the load window's) act always; the
// loads of each variable action q, s and w on each of the five regions act
// or not, independently of all the others: 15 switches, 2^15 = 32768 load
// patterns, all characteristic
// (factor 1). Every result is linear in the loads, so the patterns are not
// computed one by one: the permanent part and each switch alone are
// analysed once, and the largest value of a result is the permanent part
// plus every positive contribution, the smallest the permanent part plus
// every negative one. For the span moments the same holds at every x of
// the exact moment lines: between the places where a contribution changes
// its sign the envelope is one polynomial, so its extremes are exact.

#include "analysis/resultquantities.h"
#include "model/numericbeam.h"

#include <QString>

#include <array>
#include <limits>

namespace varno {

// One switch per variable load kind and region: switch 3·(r − 1) + k − 1
// is load kind k (LoadQ, LoadS, LoadW) of region r.
constexpr int VariableLoadKinds = 3;
constexpr int LoadSwitchCount = VariableLoadKinds * RegionCount;
constexpr int LoadPatternCount = 1 << LoadSwitchCount;

// The beam of the permanent part: the loads of action G alone.
NumericBeam PermanentBeam(const NumericBeam &beam);

// The beam of one switch alone: the loads of its action on its region.
NumericBeam SwitchBeam(const NumericBeam &beam, int loadSwitch);

// "q in Feld 2", "w im Kragarm re".
QString SwitchName(int loadSwitch);

struct ValueRange
{
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();

    void take(double value)
    {
        if (value < min)
            min = value;
        if (value > max)
            max = value;
    }
};

// The quantities the envelope ranges over, from the table of results:
// supports A..D, shears Ali, Are, Bli, Bre, Cli, Cre, Dli, Dre, spans 1..3.
inline constexpr auto SupportMomentQuantities = QuantitiesOf<QuantityKind::SupportMoment>();
inline constexpr auto ShearQuantities = QuantitiesOf<QuantityKind::Shear>();
inline constexpr auto ReactionQuantities = QuantitiesOf<QuantityKind::Reaction>();
inline constexpr auto SpanMomentQuantities = QuantitiesOf<QuantityKind::SpanMoment>();
constexpr int SupportCount = int(ReactionQuantities.size());
constexpr int SupportShearCount = int(ShearQuantities.size());
constexpr int SpanCountMax = int(SpanMomentQuantities.size());

struct LoadEnvelope
{
    // A refused full pattern refuses the envelope with the program's own
    // message; a refused partial pattern names the pattern.
    bool refused = false;
    QString refusal;

    int spans = 0;
    std::array<ValueRange, SupportCount> supportMoment;     // MA..MD
    std::array<ValueRange, SupportShearCount> shear;        // Ali..Dre
    std::array<ValueRange, SupportCount> reaction;          // A..D
    // The smallest and the largest moment M(x) anywhere in spans 1..3.
    std::array<ValueRange, SpanCountMax> spanMoment;

    // The system has supports 0..spans and a shear entry for both sides of each.
    int supports() const { return spans + 1; }
    // Supports whose smallest reaction is negative: the beam may lift off.
    bool uplift(int support) const { return reaction[support].min < 0; }
};

// The permanent part and every switch that carries a load are each one
// ordinary analysis of a beam of their own; nothing is taken from the
// caller's results. A part that cannot be computed, or a sum that is not
// finite, refuses the envelope with a message naming it.
LoadEnvelope RunEnvelope(const NumericBeam &beam);

inline constexpr auto SupportNames = NamesOf<QuantityKind::Reaction>();
inline constexpr auto SupportMomentNames = NamesOf<QuantityKind::SupportMoment>();
inline constexpr auto ShearNames = NamesOf<QuantityKind::Shear>();
inline constexpr auto SpanMomentNames = NamesOf<QuantityKind::SpanMoment>();

} // namespace varno
