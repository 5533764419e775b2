// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The envelope of the variable loads. The dead load g and every point load
// act always (a point load carries no load kind); the variable loads
// q + s + w of each of the five regions act or not, independently of the
// other regions: 32 patterns, all characteristic (factor 1). Each pattern is
// the ordinary analysis of the project's values with the variable loads of
// its "off" regions set to 0.

#include "analysis/resultquantities.h"
#include "model/projectmodel.h"

#include <QString>

#include <array>
#include <limits>

namespace varno {

constexpr int LoadPatternCount = 1 << RegionCount;
// Bit r - 1 of a pattern is set when the variable loads of region r act.
constexpr int FullLoadPattern = LoadPatternCount - 1;

// The input texts of one pattern: q, s and w of every region whose bit is
// not set read "0".
ProjectTexts PatternTexts(const ProjectTexts &texts, int pattern);

// "Feld 1, Kragarm re" — the regions whose variable loads act, or "keine".
QString PatternRegions(int pattern);

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
    std::array<double, SpanCountMax> spanMomentMax{};       // MF1..MF3

    // The system has supports 0..spans and a shear entry for both sides of each.
    int supports() const { return spans + 1; }
    // Supports whose smallest reaction is negative: the beam may lift off.
    bool uplift(int support) const { return reaction[support].min < 0; }
};

// Computes all 32 patterns; none takes anything from another, nor from the
// caller's results (a span without any load in a pattern has a straight
// moment line: its larger end moment counts as its span moment).
LoadEnvelope RunEnvelope(const ProjectTexts &texts);

inline constexpr auto SupportNames = NamesOf<QuantityKind::Reaction>();
inline constexpr auto SupportMomentNames = NamesOf<QuantityKind::SupportMoment>();
inline constexpr auto ShearNames = NamesOf<QuantityKind::Shear>();
inline constexpr auto SpanMomentNames = NamesOf<QuantityKind::SpanMoment>();

} // namespace varno
