// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/combinations.h"

#include <algorithm>
#include <cmath>

namespace varno::ec {

unsigned SampledLines::presentActions() const
{
    unsigned mask = 0;
    for (int a = 0; a < ActionCount; ++a)
        for (int r = 0; r < RegionCountEc; ++r)
            if (present[UnitLine(a, r)])
                mask |= 1u << a;
    return mask;
}

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

namespace {

using Column = std::array<std::vector<double>, UnitLineCount>;

const Column &columnOf(const RegionSamples &s, LineQuantity q, bool right)
{
    switch (q) {
    case LineQuantity::M:
        return s.M;
    case LineQuantity::V:
        return right ? s.VR : s.VL;
    default:
        return s.W;
    }
}

// The regions a worst choice of `sign` takes at sample k: G all regions with
// a line, each variable action those whose line has that sign there. The
// choice does not depend on the factors, which are never negative.
std::array<unsigned, ActionCount> worstChoice(const Column &col, const std::array<bool, UnitLineCount> &present,
                                              double sign, std::size_t k)
{
    std::array<unsigned, ActionCount> choice{};
    for (int a = 0; a < ActionCount; ++a)
        for (int r = 0; r < RegionCountEc; ++r)
            if (present[UnitLine(a, r)] && (a == ActG || sign * col[UnitLine(a, r)][k] > 0))
                choice[a] |= 1u << r;
    return choice;
}

// Per action, the sum of its lines at sample k over the chosen regions.
std::array<double, ActionCount> sums(const Column &col, const std::array<unsigned, ActionCount> &choice,
                                     std::size_t k)
{
    std::array<double, ActionCount> out{};
    for (int a = 0; a < ActionCount; ++a)
        for (int r = 0; r < RegionCountEc; ++r)
            if (choice[a] & (1u << r))
                out[a] += col[UnitLine(a, r)][k];
    return out;
}

double combine(const Combination &c, const std::array<double, ActionCount> &sum)
{
    return c.factor[ActG] * sum[ActG] + c.factor[ActQ] * sum[ActQ] + c.factor[ActS] * sum[ActS]
        + c.factor[ActW] * sum[ActW];
}

// The factors of the actions outside a combination are 0.
std::vector<Combination> withZeroFactorsOutside(std::vector<Combination> combinations)
{
    for (Combination &c : combinations)
        for (int a = 0; a < ActionCount; ++a)
            if (!(c.actions & (1u << a)))
                c.factor[a] = 0;
    return combinations;
}

} // namespace

PreparedQuantity Prepare(const SampledLines &lines, LineQuantity quantity)
{
    PreparedQuantity out;
    out.quantity = quantity;
    for (int e = 0; e < RegionCountEc; ++e) {
        const RegionSamples &s = lines.region[e];
        if (!s.exists || s.x.empty())
            continue;
        std::vector<PreparedSample> &prepared = out.region[e];
        prepared.reserve(s.x.size() * (quantity == LineQuantity::V ? 4 : 2));
        for (bool right : {false, true}) {
            if (right && quantity != LineQuantity::V)
                break;
            const Column &col = columnOf(s, quantity, right);
            for (std::size_t k = 0; k < s.x.size(); ++k)
                for (double sign : {1.0, -1.0}) {
                    PreparedSample p;
                    p.choice = worstChoice(col, lines.present, sign, k);
                    p.here = sums(col, p.choice, k);
                    p.x = s.x[k];
                    if (quantity != LineQuantity::V && k % 2 == 1 && k + 1 < s.x.size()) {
                        p.before = sums(col, p.choice, k - 1);
                        p.after = sums(col, p.choice, k + 1);
                        p.h = (s.x[k + 1] - s.x[k - 1]) / 2;
                    }
                    prepared.push_back(p);
                }
        }
    }
    return out;
}

Extreme Worst(const PreparedQuantity &prepared, const std::vector<Combination> &combinations,
              const std::function<double(const Combination &)> &weight,
              const std::array<double, RegionCountEc> &regionScale)
{
    const std::vector<Combination> combos = withZeroFactorsOutside(combinations);
    std::vector<double> inverseWeight(combos.size());
    for (std::size_t i = 0; i < combos.size(); ++i)
        inverseWeight[i] = 1 / weight(combos[i]);
    Extreme best;
    const PreparedSample *bestSample = nullptr;
    std::size_t bestCombination = 0;
    for (int e = 0; e < RegionCountEc; ++e)
        for (const PreparedSample &p : prepared.region[e])
            for (std::size_t c = 0; c < combos.size(); ++c) {
                const double scale = regionScale[e] * inverseWeight[c];
                const double v = combine(combos[c], p.here);
                double value = v, x = p.x;
                if (p.h > 0) {
                    // The parabola through the samples around this midpoint.
                    const double y0 = combine(combos[c], p.before);
                    const double y2 = combine(combos[c], p.after);
                    const double a2 = (y0 - 2 * v + y2) / (2 * p.h * p.h);
                    const double b1 = (y2 - y0) / (2 * p.h);
                    if (a2 != 0) {
                        const double t = -b1 / (2 * a2);
                        const double top = v - b1 * b1 / (4 * a2);
                        if (std::abs(t) < p.h && std::abs(top) > std::abs(v)) {
                            value = top;
                            x = p.x + t;
                        }
                    }
                }
                const double score = std::abs(value) * scale;
                if (!best.found || score > best.score) {
                    best.found = true;
                    best.score = score;
                    best.value = value;
                    best.region = e;
                    best.x = x;
                    bestSample = &p;
                    bestCombination = c;
                }
            }
    if (best.found) {
        best.combination = combos[bestCombination];
        for (int a = 0; a < ActionCount; ++a)
            best.combination.regionsOn[a] = best.combination.factor[a] != 0 ? bestSample->choice[a] : 0;
    }
    return best;
}

std::vector<SectionForces> InteractionCandidates(const SampledLines &lines,
                                                 const std::vector<Combination> &combinations)
{
    const std::vector<Combination> combos = withZeroFactorsOutside(combinations);
    std::vector<SectionForces> out;
    auto regions = [](const Combination &c, const std::array<unsigned, ActionCount> &choice) {
        Combination with = c;
        for (int a = 0; a < ActionCount; ++a)
            with.regionsOn[a] = c.factor[a] != 0 ? choice[a] : 0;
        return with;
    };
    for (int e = 0; e < RegionCountEc; ++e) {
        const RegionSamples &s = lines.region[e];
        if (!s.exists)
            continue;
        for (std::size_t k = 0; k < s.x.size(); ++k) {
            SectionForces byM, byV;
            for (double sign : {1.0, -1.0}) {
                // The choice for the largest |M|, with its shears.
                const auto choiceM = worstChoice(s.M, lines.present, sign, k);
                const auto m = sums(s.M, choiceM, k), vl = sums(s.VL, choiceM, k), vr = sums(s.VR, choiceM, k);
                for (const Combination &c : combos) {
                    const double M = combine(c, m);
                    if (byM.region < 0 || std::abs(M) > std::abs(byM.M))
                        byM = {M, std::max(std::abs(combine(c, vl)), std::abs(combine(c, vr))), e, s.x[k],
                               regions(c, choiceM)};
                }
                // The choice for the largest |V| on either side, with its moment.
                for (const Column *col : {&s.VL, &s.VR}) {
                    const auto choiceV = worstChoice(*col, lines.present, sign, k);
                    const auto v = sums(*col, choiceV, k), mv = sums(s.M, choiceV, k);
                    for (const Combination &c : combos) {
                        const double V = std::abs(combine(c, v));
                        if (byV.region < 0 || V > byV.V)
                            byV = {combine(c, mv), V, e, s.x[k], regions(c, choiceV)};
                    }
                }
            }
            out.push_back(byM);
            out.push_back(byV);
        }
    }
    return out;
}

} // namespace varno::ec
