// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/search.h"

#include "analysis/superposition.h"

#include <algorithm>

namespace varno::ec {

unsigned UnitLines::presentActions() const
{
    unsigned mask = 0;
    for (int a = 0; a < ActionCount; ++a)
        for (int r = 0; r < RegionCountEc; ++r)
            if (present[UnitLine(a, r)])
                mask |= 1u << a;
    return mask;
}

namespace {

// Zeros of different unit lines closer than this share of the segment
// are one: a line is so small between them that taking it there in the
// sign it has beyond changes a value by less than 1e-12 of the extreme.
constexpr double SameZero = 1e-12;

// What is summed for a quantity: the moment (also for V) or EI·w.
Poly<5> summed(const UnitSegment &s, int line, LineQuantity q)
{
    if (q == LineQuantity::W)
        return s.w[std::size_t(line)];
    const Poly<3> &m = s.m[std::size_t(line)];
    return {m[0], m[1], m[2], 0, 0};
}

// The quantity of a summed polynomial: V is dM/dt.
Poly<5> quantityOf(const Poly<5> &p, LineQuantity q)
{
    return q == LineQuantity::V ? Poly<5>{p[1], 2 * p[2], 0, 0, 0} : p;
}

Poly<5> combine(const Combination &c, const std::array<Poly<5>, ActionCount> &sum, int terms)
{
    Poly<5> p{};
    for (int a = 0; a < ActionCount; ++a) {
        const double f = c.factor[std::size_t(a)];
        if (f == 0)
            continue;
        for (int k = 0; k < terms; ++k)
            p[std::size_t(k)] += f * sum[std::size_t(a)][std::size_t(k)];
    }
    return p;
}

double xOf(const Cell &cell, double t)
{
    return t == cell.t0 ? cell.xa : t == cell.t1 ? cell.xb : cell.x0 + t;
}

// The places of a cell where a polynomial of the quantity can take its
// extremes: the ends, and for M and EI·w where its derivative is 0.
int candidates(const Poly<5> &p, int degree, const Cell &cell, double *at)
{
    if (degree <= 1) {
        at[0] = cell.t0;
        if (cell.t1 > cell.t0) {
            at[1] = cell.t1;
            return 2;
        }
        return 1;
    }
    return ExtremeCandidates(p.data(), degree, cell.t0, cell.t1, at);
}

// The place of a section at x of a region: a support at a supported end,
// else the region's field. x is compared exactly: the ends of the first and
// the last segment are the region's ends as the lines give them.
int placeOf(const UnitLines &lines, int region, double x)
{
    const double length = lines.region[std::size_t(region)].length;
    if (region < 3)
        return x == 0 ? SupportPlace(region) : x == length ? SupportPlace(region + 1) : region;
    if (region == 3)   // the left cantilever, from its free end to support A
        return x == length ? SupportPlace(0) : region;
    int spans = 0;
    for (int r = 0; r < 3; ++r)
        spans += lines.region[std::size_t(r)].exists ? 1 : 0;
    return x == 0 ? SupportPlace(spans) : region;
}

Combination withRegions(const Combination &c, const std::array<unsigned, ActionCount> &choice)
{
    Combination with = c;
    for (int a = 0; a < ActionCount; ++a)
        with.regionsOn[std::size_t(a)] = c.factor[std::size_t(a)] != 0 ? choice[std::size_t(a)] : 0;
    return with;
}

} // namespace

int DegreeOf(LineQuantity q)
{
    return q == LineQuantity::W ? 4 : q == LineQuantity::M ? 2 : 1;
}

PreparedQuantity Prepare(const UnitLines &lines, LineQuantity quantity)
{
    PreparedQuantity out;
    out.quantity = quantity;
    const int degree = DegreeOf(quantity);
    // The present lines of each action, and all variable ones.
    std::array<std::vector<int>, ActionCount> linesOf;
    std::vector<int> variable;
    for (int i = 0; i < UnitLineCount; ++i)
        if (lines.present[std::size_t(i)]) {
            linesOf[std::size_t(i / RegionCountEc)].push_back(i);
            if (i / RegionCountEc != ActG)
                variable.push_back(i);
        }
    const std::vector<int> &permanent = linesOf[ActG];
    unsigned permanentRegions = 0;
    for (int i : permanent)
        permanentRegions |= 1u << (i % RegionCountEc);
    // The value of a deciding polynomial of the quantity's degree.
    auto value = [degree](const Poly<5> &p, double t) {
        double v = p[std::size_t(degree)];
        for (int k = degree - 1; k >= 0; --k)
            v = v * t + p[std::size_t(k)];
        return v;
    };
    std::size_t segments = 0;
    for (const UnitRegion &region : lines.region)
        segments += region.segments.size();
    out.cells.reserve(segments * 6);

    std::vector<double> at;
    std::array<Poly<5>, UnitLineCount> part{}, decide{};
    for (int e = 0; e < RegionCountEc; ++e) {
        const UnitRegion &region = lines.region[std::size_t(e)];
        if (!region.exists)
            continue;
        for (const UnitSegment &seg : region.segments) {
            // EI·w has no jump: its end sections repeat the segments' ends.
            if (seg.end && quantity == LineQuantity::W)
                continue;
            const double h = seg.x1 - seg.x0;
            for (int i : permanent)
                part[std::size_t(i)] = summed(seg, i, quantity);
            for (int i : variable) {
                part[std::size_t(i)] = summed(seg, i, quantity);
                decide[std::size_t(i)] = quantityOf(part[std::size_t(i)], quantity);
            }
            // The stretches: between the zeros of the variable lines, found
            // once per shape.
            at.assign(1, 0.0);
            if (h > 0) {
                std::array<int, UnitLineCount> shapesDone{};
                int shapes = 0;
                double roots[4];
                for (int i : variable) {
                    const int shape = lines.shape[std::size_t(i)];
                    if (std::find(shapesDone.begin(), shapesDone.begin() + shapes, shape) != shapesDone.begin() + shapes)
                        continue;
                    shapesDone[std::size_t(shapes++)] = shape;
                    const int n = RootsInside(decide[std::size_t(i)].data(), degree, 0, h, roots);
                    at.insert(at.end(), roots, roots + n);
                }
                std::sort(at.begin() + 1, at.end());
                std::size_t kept = 1;
                for (std::size_t k = 1; k < at.size(); ++k)
                    if (at[k] - at[kept - 1] > SameZero * h && h - at[k] > SameZero * h)
                        at[kept++] = at[k];
                at.resize(kept);
            }
            at.push_back(h);
            for (std::size_t k = 0; k + 1 < at.size(); ++k) {
                const double ta = at[k], tb = at[k + 1], middle = (ta + tb) / 2;
                out.cells.emplace_back();
                out.cells.emplace_back();
                Cell &high = out.cells[out.cells.size() - 2], &low = out.cells.back();
                for (Cell *c : {&high, &low}) {
                    c->region = e;
                    c->end = seg.end;
                    c->x0 = seg.x0;
                    c->t0 = ta;
                    c->t1 = tb;
                    c->xa = ta == 0 ? seg.x0 : seg.x0 + ta;
                    c->xb = tb == h ? seg.x1 : seg.x0 + tb;
                    c->placeA = placeOf(lines, e, c->xa);
                    c->placeB = placeOf(lines, e, c->xb);
                }
                for (int a = 0; a < ActionCount; ++a) {
                    WorstBySign<5> sum;
                    for (int i : linesOf[std::size_t(a)]) {
                        if (a == ActG)
                            sum.always(part[std::size_t(i)]);
                        else
                            sum.add(part[std::size_t(i)], value(decide[std::size_t(i)], middle),
                                    1u << (i % RegionCountEc));
                    }
                    high.sum[std::size_t(a)] = sum.high;
                    low.sum[std::size_t(a)] = sum.low;
                    high.choice[std::size_t(a)] = a == ActG ? permanentRegions : sum.highParts;
                    low.choice[std::size_t(a)] = a == ActG ? permanentRegions : sum.lowParts;
                    if (quantity == LineQuantity::W)
                        for (Cell *c : {&high, &low}) {
                            const Poly<5> &p = c->sum[std::size_t(a)];
                            c->atStart[std::size_t(a)] = Evaluate(p, ta);
                            c->atEnd[std::size_t(a)] = Evaluate(p, tb);
                            c->bound[std::size_t(a)] = BoundOn(p, ta, tb);
                        }
                }
            }
        }
    }
    return out;
}

Poly<5> CellPolynomial(const Cell &cell, LineQuantity quantity, const Combination &c)
{
    return quantityOf(combine(c, cell.sum, quantity == LineQuantity::W ? 5 : 3), quantity);
}

CellRange RangeOf(const Cell &cell, const Poly<5> &p, int degree)
{
    double at[6];
    const int n = candidates(p, degree, cell, at);
    CellRange r;
    for (int k = 0; k < n; ++k) {
        const double v = Evaluate(p, at[k]);
        if (k == 0 || v < r.min) {
            r.min = v;
            r.xMin = xOf(cell, at[k]);
        }
        if (k == 0 || v > r.max) {
            r.max = v;
            r.xMax = xOf(cell, at[k]);
        }
    }
    return r;
}

Extreme Worst(const PreparedQuantity &prepared, const std::vector<Combination> &combinations,
              const std::function<double(const Combination &)> &weight,
              const std::array<double, RegionCountEc> &regionScale, PlaceExtremes *places)
{
    const LineQuantity q = prepared.quantity;
    const int degree = DegreeOf(q), terms = q == LineQuantity::W ? 5 : 3;
    const std::vector<Combination> combos = WithZeroFactorsOutside(combinations);
    std::vector<double> inverseWeight(combos.size());
    for (std::size_t i = 0; i < combos.size(); ++i)
        inverseWeight[i] = 1 / weight(combos[i]);
    // M: the end sections repeat the ends of the segments.
    auto skipped = [q](const Cell &cell) { return q == LineQuantity::M && cell.end; };
    // EI·w is 0 over a support.
    auto kept = [q](int place) { return q != LineQuantity::W || place < RegionCountEc; };

    // EI·w needs the roots of a cubic per cell and combination. The ends of
    // every cell give a score the best reaches at least; a cell whose bound
    // stays below it cannot hold the best. With places, so per field.
    double floor = 0;
    std::array<double, RegionCountEc> fieldFloor{};
    if (q == LineQuantity::W)
        for (const Cell &cell : prepared.cells)
            for (std::size_t c = 0; c < combos.size(); ++c) {
                const auto &f = combos[c].factor;
                double start = 0, end = 0;
                for (std::size_t a = 0; a < ActionCount; ++a) {
                    start += f[a] * cell.atStart[a];
                    end += f[a] * cell.atEnd[a];
                }
                const double scale = regionScale[std::size_t(cell.region)] * inverseWeight[c];
                floor = std::max({floor, std::abs(start) * scale, std::abs(end) * scale});
                double &field = fieldFloor[std::size_t(cell.region)];
                if (cell.placeA == cell.region)
                    field = std::max(field, std::abs(start) * scale);
                if (cell.placeB == cell.region)
                    field = std::max(field, std::abs(end) * scale);
            }

    // Where an extreme is: its cell, combination and t.
    struct At
    {
        const Cell *cell = nullptr;
        std::size_t combination = 0;
        double t = 0;
    };
    Extreme best;
    At bestAt;
    std::array<At, PlaceCount> placeAt{};
    auto record = [&](Extreme &e, At &at, const Cell &cell, std::size_t c, double t, double value, double score,
                      double shear) {
        if (e.found && !(score > e.score))
            return;
        e.found = true;
        e.score = score;
        e.value = value;
        e.shear = shear;
        e.region = cell.region;
        e.x = xOf(cell, t);
        at = {&cell, c, t};
    };
    auto consider = [&](bool global, const Cell &cell, std::size_t c, double t, double value, double score,
                        double shear) {
        if (global)
            record(best, bestAt, cell, c, t, value, score, shear);
        if (!places)
            return;
        const int place = t == cell.t0 ? cell.placeA : t == cell.t1 ? cell.placeB : cell.region;
        if (kept(place))
            record((*places)[std::size_t(place)], placeAt[std::size_t(place)], cell, c, t, value, score, shear);
    };
    for (const Cell &cell : prepared.cells) {
        if (skipped(cell))
            continue;
        const double regionScale_ = regionScale[std::size_t(cell.region)];
        for (std::size_t c = 0; c < combos.size(); ++c) {
            const double scale = regionScale_ * inverseWeight[c];
            const auto &f = combos[c].factor;
            if (q == LineQuantity::W) {
                double bound = 0;
                for (int a = 0; a < ActionCount; ++a)
                    bound += std::abs(f[std::size_t(a)]) * cell.bound[std::size_t(a)];
                const bool global = !(bound * scale * (1 + 1e-12) < floor);
                if (!global && (!places || bound * scale * (1 + 1e-12) < fieldFloor[std::size_t(cell.region)]))
                    continue;
                const Poly<5> p = combine(combos[c], cell.sum, terms);
                double at[6];
                const int n = candidates(p, degree, cell, at);
                for (int k = 0; k < n; ++k) {
                    const double value = Evaluate(p, at[k]);
                    consider(global, cell, c, at[k], value, std::abs(value) * scale, 0);
                }
                continue;
            }
            // M and V: the moment of the combination, m0 + m1 t + m2 t².
            const auto &s = cell.sum;
            const double m0 = f[0] * s[0][0] + f[1] * s[1][0] + f[2] * s[2][0] + f[3] * s[3][0];
            const double m1 = f[0] * s[0][1] + f[1] * s[1][1] + f[2] * s[2][1] + f[3] * s[3][1];
            const double m2 = f[0] * s[0][2] + f[1] * s[1][2] + f[2] * s[2][2] + f[3] * s[3][2];
            auto moment = [&](double t) { return m0 + t * (m1 + t * m2); };
            auto shear = [&](double t) { return m1 + 2 * m2 * t; };
            if (q == LineQuantity::V) {
                const double v0 = shear(cell.t0);
                consider(true, cell, c, cell.t0, v0, std::abs(v0) * scale, 0);
                if (cell.t1 > cell.t0) {
                    const double v1 = shear(cell.t1);
                    consider(true, cell, c, cell.t1, v1, std::abs(v1) * scale, 0);
                }
                continue;
            }
            const double mA = moment(cell.t0);
            consider(true, cell, c, cell.t0, mA, std::abs(mA) * scale, shear(cell.t0));
            if (m2 != 0) {
                const double t = -m1 / (2 * m2);
                if (t > cell.t0 && t < cell.t1) {
                    const double mT = moment(t);
                    consider(true, cell, c, t, mT, std::abs(mT) * scale, shear(t));
                }
            }
            if (cell.t1 > cell.t0) {
                const double mB = moment(cell.t1);
                consider(true, cell, c, cell.t1, mB, std::abs(mB) * scale, shear(cell.t1));
            }
        }
    }
    auto finish = [&](Extreme &e, const At &at) {
        if (!e.found)
            return;
        e.combination = withRegions(combos[at.combination], at.cell->choice);
        for (int a = 0; a < ActionCount; ++a)
            e.parts[std::size_t(a)] = Evaluate(quantityOf(at.cell->sum[std::size_t(a)], q), at.t);
    };
    finish(best, bestAt);
    if (places)
        for (int p = 0; p < PlaceCount; ++p)
            finish((*places)[std::size_t(p)], placeAt[std::size_t(p)]);
    return best;
}

std::vector<ForceStretch> InteractionStretches(const PreparedQuantity &M, const PreparedQuantity &V,
                                               const std::vector<Combination> &combinations)
{
    const std::vector<Combination> combos = WithZeroFactorsOutside(combinations);
    std::vector<ForceStretch> out;
    out.reserve((M.cells.size() + V.cells.size()) * combos.size());
    for (const PreparedQuantity *q : {&M, &V})
        for (const Cell &cell : q->cells)
            for (std::size_t c = 0; c < combos.size(); ++c) {
                const Poly<5> p = combine(combos[c], cell.sum, 3);
                ForceStretch s;
                s.region = cell.region;
                s.t0 = cell.t0;
                s.t1 = cell.t1;
                s.xa = cell.xa;
                s.xb = cell.xb;
                s.x0 = cell.x0;
                s.placeA = cell.placeA;
                s.placeB = cell.placeB;
                s.m = {p[0], p[1], p[2]};
                s.maxV = std::max(std::abs(p[1] + 2 * p[2] * cell.t0), std::abs(p[1] + 2 * p[2] * cell.t1));
                double at[4];
                const int n = ExtremeCandidates(p.data(), 2, cell.t0, cell.t1, at);
                for (int k = 0; k < n; ++k)
                    s.maxM = std::max(s.maxM, std::abs(Evaluate(p, at[k])));
                s.combination = withRegions(combos[c], cell.choice);
                out.push_back(s);
            }
    return out;
}

namespace {

struct Interaction
{
    double utilisation = 0;
    bool shearExceeded = false;
    double resistance = 0;
};

Interaction interactionAt(double M, double V, const BendingShearResistance &r)
{
    const double v = std::abs(V);
    if (v <= r.Vpl) {
        const double MV = r.at(V);
        if (MV > 0)
            return {std::abs(M) / MV, false, MV};
    }
    return {v / r.Vpl, true, r.Vpl};
}

} // namespace

InteractionResult WorstInteraction(const std::vector<ForceStretch> &stretches, const Extreme &bending,
                                   const BendingShearResistance &r, double enough, PlaceInteractions *places,
                                   const PlaceExtremes *bendingPlaces)
{
    InteractionResult best;
    auto record = [&](InteractionResult &into, const Interaction &i, double M, double V, int region, double x,
                      const Combination &c) {
        if (into.found && !(i.utilisation > into.utilisation))
            return;
        into.found = true;
        into.utilisation = i.utilisation;
        into.shearExceeded = i.shearExceeded;
        into.resistance = i.resistance;
        into.M = M;
        into.V = V;
        into.region = region;
        into.x = x;
        into.combination = c;
    };
    auto take = [&](bool global, int place, double M, double V, int region, double x, const Combination &c) {
        const Interaction i = interactionAt(M, V, r);
        if (global)
            record(best, i, M, V, region, x, c);
        if (places && place >= 0)
            record((*places)[std::size_t(place)], i, M, V, region, x, c);
    };
    // Where |M| is largest: every stretch whose shear stays at or below
    // Vpl,Rd / 2 has its full Mc,Rd and cannot reach that utilisation. So at
    // each place, from where its |M| is largest.
    if (bending.found)
        take(true, -1, bending.value, bending.shear, bending.region, bending.x, bending.combination);
    if (places && bendingPlaces)
        for (int p = 0; p < PlaceCount; ++p)
            if (const Extreme &e = (*bendingPlaces)[std::size_t(p)]; e.found)
                take(false, p, e.value, e.shear, e.region, e.x, e.combination);
    // Whether a bound stays below what a place has already.
    auto below = [&](const InteractionResult &at, double bound) {
        return at.found && bound * (1 + 1e-12) < at.utilisation;
    };
    const double flanges = r.Mc - r.Mweb;
    for (const ForceStretch &s : stretches) {
        if (best.found && best.utilisation > enough)
            break;
        if (s.maxV <= 0.5 * r.Vpl)
            continue;
        const double bound = s.maxV > r.Vpl ? std::max(s.maxV / r.Vpl, flanges > 0 ? s.maxM / flanges : INFINITY)
                                             : s.maxM / r.at(s.maxV);
        const bool global = !below(best, bound);
        if (!global
            && (!places
                || (below((*places)[std::size_t(s.region)], bound) && below((*places)[std::size_t(s.placeA)], bound)
                    && below((*places)[std::size_t(s.placeB)], bound))))
            continue;
        const Poly<3> &m = s.m;
        const double v0 = m[1], v1 = 2 * m[2];
        auto at = [&](double t) {
            const double x = t == s.t0 ? s.xa : t == s.t1 ? s.xb : s.x0 + t;
            const int place = t == s.t0 ? s.placeA : t == s.t1 ? s.placeB : s.region;
            take(global, place, Evaluate(m, t), v0 + v1 * t, s.region, x, s.combination);
        };
        at(s.t0);
        // Where |V| passes Vpl,Rd / 2 or Vpl,Rd the utilisation changes its rule.
        double split[6];
        int n = 0;
        split[n++] = s.t0;
        if (v1 != 0)
            for (double level : {0.5 * r.Vpl, -0.5 * r.Vpl, r.Vpl, -r.Vpl}) {
                const double t = (level - v0) / v1;
                if (t > s.t0 && t < s.t1)
                    split[n++] = t;
            }
        for (int i = 2; i < n; ++i)
            for (int j = i; j > 1 && split[j] < split[j - 1]; --j)
                std::swap(split[j], split[j - 1]);
        split[n++] = s.t1;
        for (int k = 0; k + 1 < n; ++k) {
            const double u = split[k], w = split[k + 1];
            if (k > 0)
                at(u);
            const double V = v0 + v1 * (u + w) / 2;
            const double absV = std::abs(V);
            if (absV <= 0.5 * r.Vpl) {
                // |M| / Mc,Rd: the largest |M| is at the vertex of M.
                if (m[2] != 0) {
                    const double t = -m[1] / (2 * m[2]);
                    if (t > u && t < w)
                        at(t);
                }
            } else if (absV <= r.Vpl && r.Mweb != 0) {
                // |M| / MV,Rd(V): where the derivative of M / MV,Rd is 0,
                // V · D − M · D' = 0 with D = Mc − Mweb (u0 + u1 t)², a cubic.
                const double sign = V < 0 ? -1 : 1;
                const double u0 = 2 * sign * v0 / r.Vpl - 1, u1 = 2 * sign * v1 / r.Vpl;
                const double d0 = r.Mc - r.Mweb * u0 * u0, d1 = -2 * r.Mweb * u0 * u1, d2 = -r.Mweb * u1 * u1;
                const double e0 = d1, e1 = 2 * d2;   // D'
                const double c[4] = {v0 * d0 - m[0] * e0, v0 * d1 + v1 * d0 - m[0] * e1 - m[1] * e0,
                                     v0 * d2 + v1 * d1 - m[1] * e1 - m[2] * e0, v1 * d2 - m[2] * e1};
                double roots[3];
                const int count = RootsInside(c, 3, u, w, roots);
                for (int i = 0; i < count; ++i)
                    at(roots[i]);
            }
            // Beyond Vpl,Rd, |V| / Vpl,Rd is largest at an end.
        }
        if (s.t1 > s.t0)
            at(s.t1);
    }
    return best;
}

} // namespace varno::ec
