// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Actions and their combinations. Every design value is a sum of factored
// unit lines (the lines of one action on one region alone, see
// eurocode/search.h); the permanent action has one factor on all regions,
// each variable action acts on a region or not.

#include "eurocode/ecdata.h"

#include <array>
#include <vector>

namespace varno::ec {

// g, q, s, w.
enum Action { ActG, ActQ, ActS, ActW, ActionCount };
// Regions in the order of the lines: spans 1..3, left, right cantilever.
constexpr int RegionCountEc = 5;
constexpr int UnitLineCount = ActionCount * RegionCountEc;
constexpr int UnitLine(int action, int region) { return action * RegionCountEc + region; }

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

// The factors of the actions outside a combination set to 0.
std::vector<Combination> WithZeroFactorsOutside(std::vector<Combination> combinations);

} // namespace varno::ec
