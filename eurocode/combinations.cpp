// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/combinations.h"

#include <algorithm>
#include <cmath>

namespace varno::ec {

std::vector<Combination> Combinations(CombinationKind kind, const ActionSet &actions, unsigned presentActions,
                                      double kdef, bool everySubset)
{
    std::vector<Combination> out;
    const unsigned variable = presentActions & ~1u;
    auto durationOf = [&](unsigned set) {
        Duration d = Permanent;
        for (int a = ActQ; a < ActionCount; ++a)
            if (set & (1u << a))
                d = std::max(d, actions.duration[a]);
        return d;
    };
    if (kind == CombinationKind::QuasiPermanent || kind == CombinationKind::NetFinal) {
        Combination c;
        c.kind = kind;
        c.actions = 1u | variable;
        const double creep = kind == CombinationKind::NetFinal ? 1 + kdef : 1;
        c.factor[ActG] = creep;
        for (int a = ActQ; a < ActionCount; ++a)
            if (variable & (1u << a))
                c.factor[a] = actions.psi2[a].value * creep;
        c.duration = durationOf(c.actions);
        out.push_back(c);
        return out;
    }
    std::vector<double> gammaG;
    if (kind == CombinationKind::Fundamental)
        gammaG = {actions.gammaGsup.value, actions.gammaGinf.value};
    else if (kind == CombinationKind::Final)
        gammaG = {1 + kdef};
    else
        gammaG = {1};
    for (double gG : gammaG)
        for (unsigned subset = 0; subset <= variable; ++subset) {
            if ((subset & ~variable) != 0 || (subset & 1u) || (!everySubset && subset != variable))
                continue;
            // Of the subsets with the same shortest duration (the same kmod),
            // the one with every action at least that long is the worst.
            if (subset != 0) {
                unsigned closure = 0;
                for (int a = ActQ; a < ActionCount; ++a)
                    if ((variable & (1u << a)) && actions.duration[a] <= durationOf(subset))
                        closure |= 1u << a;
                if (subset != closure)
                    continue;
            }
            for (int lead = subset == 0 ? -1 : ActQ; lead < ActionCount; ++lead) {
                if (lead >= 0 && !(subset & (1u << lead)))
                    continue;
                Combination c;
                c.kind = kind;
                c.leading = lead;
                c.actions = 1u | subset;
                c.factor[ActG] = gG;
                for (int a = ActQ; a < ActionCount; ++a) {
                    if (!(subset & (1u << a)))
                        continue;
                    const bool leads = a == lead;
                    switch (kind) {
                    case CombinationKind::Fundamental:
                        c.factor[a] = actions.gammaQ.value * (leads ? 1 : actions.psi0[a].value);
                        break;
                    case CombinationKind::Characteristic:
                        c.factor[a] = leads ? 1 : actions.psi0[a].value;
                        break;
                    default:   // Final
                        c.factor[a] = leads ? 1 + actions.psi2[a].value * kdef
                                            : actions.psi0[a].value + actions.psi2[a].value * kdef;
                        break;
                    }
                }
                c.duration = durationOf(c.actions);
                out.push_back(c);
                if (lead < 0)
                    break;
            }
        }
    return out;
}

std::vector<Combination> WithZeroFactorsOutside(std::vector<Combination> combinations)
{
    for (Combination &c : combinations)
        for (int a = 0; a < ActionCount; ++a)
            if (!(c.actions & (1u << a)))
                c.factor[a] = 0;
    return combinations;
}

} // namespace varno::ec
