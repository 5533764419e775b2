// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Actions, their combinations and the search for the worst one, by
// superposition of unit lines: the lines of one action on one region alone.
// Every design value is a sum of factored unit lines; the permanent action
// has one factor on all regions, each variable action acts on a region or
// not. At one section the worst choice of regions is exact: a region acts
// when its line there has the sign sought.

#include "eurocode/ecdata.h"

#include <array>
#include <functional>
#include <vector>

namespace varno::ec {

// g, q, s, w.
enum Action { ActG, ActQ, ActS, ActW, ActionCount };
// Regions in the order of the lines: spans 1..3, left, right cantilever.
constexpr int RegionCountEc = 5;
constexpr int UnitLineCount = ActionCount * RegionCountEc;
constexpr int UnitLine(int action, int region) { return action * RegionCountEc + region; }

// The unit lines sampled on one region: x (m, as the lines measure it)
// sorted, every odd index the midpoint of its neighbours; per unit line M,
// the shear just left and just right of x, and EI·w. Absent lines are empty.
struct RegionSamples
{
    bool exists = false;
    double length = 0;
    std::vector<double> x;
    std::array<std::vector<double>, UnitLineCount> M, VL, VR, W;
};

struct SampledLines
{
    std::array<RegionSamples, RegionCountEc> region;
    std::array<bool, UnitLineCount> present{};
    unsigned presentActions() const;   // bit a: action a acts somewhere
};

// The factors of the actions, resolved from the data for the chosen
// imposed category and snow altitude.
struct ActionSet
{
    Value gammaGsup, gammaGinf, gammaQ;
    std::array<Value, ActionCount> psi0, psi2;       // index ActG unused
    std::array<Duration, ActionCount> duration{};
    std::array<Value, ActionCount> durationValue;
};

enum class CombinationKind {
    Fundamental,      // EN 1990 6.10: γG G + γQ Q1 + Σ γQ ψ0 Qi
    Characteristic,   // G + Q1 + Σ ψ0 Qi
    QuasiPermanent,   // G + Σ ψ2 Qi
    Final,            // w_fin: G (1 + kdef) + Q1 (1 + ψ2 kdef) + Σ Qi (ψ0 + ψ2 kdef)
    NetFinal,         // w_net,fin: (G + Σ ψ2 Qi)(1 + kdef)
};

struct Combination
{
    CombinationKind kind = CombinationKind::Fundamental;
    int leading = -1;                                // the leading variable action, -1 none
    unsigned actions = 1;                            // bit a: action a belongs to it (G always)
    std::array<double, ActionCount> factor{};
    Duration duration = Permanent;                   // shortest duration of its actions
    std::array<unsigned, ActionCount> regionsOn{};   // of a governing result: bit r, action a acts on r
};

// All combinations of a kind over the actions present (bit mask), each
// variable action in or out, each in turn leading; of the sets of actions
// with the same shortest duration only the one with every action at least
// that long (it is the worst, having the same kmod). Without `everySubset`
// every present action is in: enough where the resistance does not depend
// on the combination (no kmod), because at one section every variable
// action adds in the sign sought (its regions are chosen so).
std::vector<Combination> Combinations(CombinationKind kind, const ActionSet &actions, unsigned presentActions,
                                      double kdef = 0, bool everySubset = true);

enum class LineQuantity { M, V, W };

struct Extreme
{
    bool found = false;
    double value = 0;         // the design value with its sign (kNm, kN or kN·m³)
    double score = 0;         // |value| · regionScale / weight
    int region = -1;
    double x = 0;
    Combination combination;
};

// One quantity prepared for the search: at every sample (and side, for V)
// and for either sign, the worst choice of regions and per action the sum
// of its chosen lines there and, around a midpoint, at its two neighbours.
struct PreparedSample
{
    std::array<unsigned, ActionCount> choice{};
    std::array<double, ActionCount> here{}, before{}, after{};
    double x = 0, h = 0;   // h > 0: a midpoint with its neighbours at x ± h
};

struct PreparedQuantity
{
    LineQuantity quantity = LineQuantity::M;
    std::array<std::vector<PreparedSample>, RegionCountEc> region;
};

PreparedQuantity Prepare(const SampledLines &lines, LineQuantity quantity);

// The worst design value over every sample of every existing region and
// every combination: largest |value| · regionScale[region] / weight(c).
// For M and W the three samples around each midpoint also give the vertex
// of the parabola through them under the midpoint's choice of regions
// (exact for M, whose lines are parabolas between the samples, as long as
// no line changes sign between them).
Extreme Worst(const PreparedQuantity &prepared, const std::vector<Combination> &combinations,
              const std::function<double(const Combination &)> &weight,
              const std::array<double, RegionCountEc> &regionScale);

// Moment and shear at one section under one choice of regions.
struct SectionForces
{
    double M = 0, V = 0;
    int region = -1;
    double x = 0;
    Combination combination;
};

// For the M–V interaction: at every sample, the forces of the choice that
// gives the largest |M| and of the one that gives the largest |V|, each
// over all combinations, with the other force of the same choice.
std::vector<SectionForces> InteractionCandidates(const SampledLines &lines,
                                                 const std::vector<Combination> &combinations);

} // namespace varno::ec
