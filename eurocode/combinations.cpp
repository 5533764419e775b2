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
                                      double kdef)
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
            if ((subset & ~variable) != 0 || (subset & 1u))
                continue;
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

// Sum at sample k with a fixed choice of regions; `choice[a]` bit r.
double fixedValue(const Column &col, const std::array<bool, UnitLineCount> &present, const Combination &c,
                  const std::array<unsigned, ActionCount> &choice, std::size_t k)
{
    double sum = 0;
    for (int a = 0; a < ActionCount; ++a) {
        if (!(c.actions & (1u << a)) || c.factor[a] == 0)
            continue;
        double part = 0;
        for (int r = 0; r < RegionCountEc; ++r)
            if ((choice[a] & (1u << r)) && present[UnitLine(a, r)])
                part += col[UnitLine(a, r)][k];
        sum += c.factor[a] * part;
    }
    return sum;
}

// The worst value of `sign` at sample k: G on all regions, each variable
// action on the regions whose line has that sign there.
double bestValue(const Column &col, const std::array<bool, UnitLineCount> &present, const Combination &c,
                 double sign, std::size_t k, std::array<unsigned, ActionCount> &choice)
{
    double sum = 0;
    for (int a = 0; a < ActionCount; ++a) {
        choice[a] = 0;
        if (!(c.actions & (1u << a)) || c.factor[a] == 0)
            continue;
        double part = 0;
        for (int r = 0; r < RegionCountEc; ++r) {
            if (!present[UnitLine(a, r)])
                continue;
            const double v = col[UnitLine(a, r)][k];
            if (a == ActG || sign * v > 0) {
                part += v;
                choice[a] |= 1u << r;
            }
        }
        sum += c.factor[a] * part;
    }
    return sum;
}

} // namespace

Extreme Worst(const SampledLines &lines, LineQuantity quantity, const std::vector<Combination> &combinations,
              const std::function<double(const Combination &)> &weight,
              const std::array<double, RegionCountEc> &regionScale)
{
    Extreme best;
    std::array<unsigned, ActionCount> choice{};
    auto take = [&](double value, double scale, int region, double x, const Combination &c,
                    const std::array<unsigned, ActionCount> &regions) {
        const double score = std::abs(value) * scale;
        if (!best.found || score > best.score) {
            best.found = true;
            best.score = score;
            best.value = value;
            best.region = region;
            best.x = x;
            best.combination = c;
            best.combination.regionsOn = regions;
        }
    };
    for (int e = 0; e < RegionCountEc; ++e) {
        const RegionSamples &s = lines.region[e];
        if (!s.exists || s.x.empty())
            continue;
        for (const Combination &c : combinations) {
            const double scale = regionScale[e] / weight(c);
            for (double sign : {1.0, -1.0})
                for (bool right : {false, true}) {
                    if (right && quantity != LineQuantity::V)
                        break;
                    const Column &col = columnOf(s, quantity, right);
                    for (std::size_t k = 0; k < s.x.size(); ++k) {
                        const double v = bestValue(col, lines.present, c, sign, k, choice);
                        take(v, scale, e, s.x[k], c, choice);
                        // The parabola through the samples around a midpoint.
                        if (quantity == LineQuantity::V || k % 2 == 0 || k + 1 >= s.x.size())
                            continue;
                        const double h = (s.x[k + 1] - s.x[k - 1]) / 2;
                        if (h <= 0)
                            continue;
                        const double y0 = fixedValue(col, lines.present, c, choice, k - 1);
                        const double y2 = fixedValue(col, lines.present, c, choice, k + 1);
                        const double a2 = (y0 - 2 * v + y2) / (2 * h * h);
                        const double b1 = (y2 - y0) / (2 * h);
                        if (a2 == 0)
                            continue;
                        const double t = -b1 / (2 * a2);
                        if (std::abs(t) >= h)
                            continue;
                        take(v - b1 * b1 / (4 * a2), scale, e, s.x[k] + t, c, choice);
                    }
                }
        }
    }
    return best;
}

std::vector<SectionForces> InteractionCandidates(const SampledLines &lines,
                                                 const std::vector<Combination> &combinations)
{
    std::vector<SectionForces> out;
    std::array<unsigned, ActionCount> choice{};
    for (int e = 0; e < RegionCountEc; ++e) {
        const RegionSamples &s = lines.region[e];
        if (!s.exists)
            continue;
        for (std::size_t k = 0; k < s.x.size(); ++k) {
            SectionForces byM, byV;
            for (const Combination &c : combinations)
                for (double sign : {1.0, -1.0}) {
                    const double M = bestValue(s.M, lines.present, c, sign, k, choice);
                    const double V = std::max(std::abs(fixedValue(s.VL, lines.present, c, choice, k)),
                                              std::abs(fixedValue(s.VR, lines.present, c, choice, k)));
                    if (byM.region < 0 || std::abs(M) > std::abs(byM.M)) {
                        byM = {M, V, e, s.x[k], c};
                        byM.combination.regionsOn = choice;
                    }
                    for (bool right : {false, true}) {
                        const double Vs = bestValue(right ? s.VR : s.VL, lines.present, c, sign, k, choice);
                        if (byV.region < 0 || std::abs(Vs) > std::abs(byV.V)) {
                            byV = {fixedValue(s.M, lines.present, c, choice, k), std::abs(Vs), e, s.x[k], c};
                            byV.combination.regionsOn = choice;
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
