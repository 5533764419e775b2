// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/ecenvelope.h"

#include <algorithm>
#include <cmath>

namespace varno::ec {

namespace {

// The ends of the region's twenty parts are drawn points, as are the
// places of its extremes, so that the curve passes through them.
constexpr int GridParts = 20;

struct Place
{
    std::size_t stretch = 0;   // of the region, along it
    double t = 0;
};

// One region of one curve: its cells come in pairs (largest, smallest) of
// the same stretch, along the region. For V a stretch ends with the shear
// just beside a point load, so a point load is a vertical step.
void addRegion(EnvelopeCurve &curve, const PreparedQuantity &q, const std::vector<Combination> &combinations,
               int region, double length, double start)
{
    std::vector<std::size_t> stretches;   // index of each pair's first cell
    for (std::size_t i = 0; i + 1 < q.cells.size(); i += 2)
        if (q.cells[i].region == region && !(q.quantity == LineQuantity::M && q.cells[i].end))
            stretches.push_back(i);
    if (stretches.empty())
        return;

    // Per stretch the polynomial of every combination, for its largest and
    // its smallest values.
    const int degree = DegreeOf(q.quantity);
    const std::size_t count = combinations.size();
    std::vector<Poly<5>> polynomials(stretches.size() * 2 * count);
    for (std::size_t j = 0; j < stretches.size(); ++j)
        for (std::size_t c = 0; c < count; ++c)
            for (std::size_t side = 0; side < 2; ++side)
                polynomials[(j * 2 + side) * count + c] =
                    CellPolynomial(q.cells[stretches[j] + side], q.quantity, combinations[c]);
    auto poly = [&](std::size_t j, std::size_t side, std::size_t c) -> const Poly<5> & {
        return polynomials[(j * 2 + side) * count + c];
    };

    // The exact extremes of the region.
    EnvelopeExtreme largest, smallest;
    Place atLargest, atSmallest;
    for (std::size_t j = 0; j < stretches.size(); ++j) {
        const Cell &high = q.cells[stretches[j]], &low = q.cells[stretches[j] + 1];
        for (std::size_t c = 0; c < count; ++c) {
            const CellRange hi = RangeOf(high, poly(j, 0, c), degree);
            const CellRange lo = RangeOf(low, poly(j, 1, c), degree);
            if (!largest.found || hi.max > largest.value) {
                largest = {true, hi.max, start + hi.xMax};
                atLargest = {j, hi.xMax - high.x0};
            }
            if (!smallest.found || lo.min < smallest.value) {
                smallest = {true, lo.min, start + lo.xMin};
                atSmallest = {j, lo.xMin - low.x0};
            }
        }
    }
    if (!curve.largest.found || largest.value > curve.largest.value)
        curve.largest = largest;
    if (!curve.smallest.found || smallest.value < curve.smallest.value)
        curve.smallest = smallest;

    std::vector<EnvelopePoint> points;
    std::vector<double> at;
    for (std::size_t j = 0; j < stretches.size(); ++j) {
        const Cell &high = q.cells[stretches[j]];
        const double h = high.xb - high.xa;
        const int steps = std::max(1, int(std::ceil(EnvelopeSubdivisions * GridParts * h / length)));
        at.clear();
        for (int k = 0; k <= steps; ++k)
            at.push_back(k == steps ? high.t1 : high.t0 + (high.t1 - high.t0) * k / steps);
        for (int k = 1; k < GridParts; ++k) {
            const double t = length * k / GridParts - high.x0;
            if (t > high.t0 && t < high.t1)
                at.push_back(t);
        }
        for (const Place &p : {atLargest, atSmallest})
            if (p.stretch == j && p.t > high.t0 && p.t < high.t1)
                at.push_back(p.t);
        std::sort(at.begin(), at.end());
        for (double t : at) {
            EnvelopePoint p;
            p.s = start + (t == high.t0 ? high.xa : t == high.t1 ? high.xb : high.x0 + t);
            for (std::size_t c = 0; c < count; ++c) {
                const double hi = Evaluate(poly(j, 0, c), t), lo = Evaluate(poly(j, 1, c), t);
                p.max = c == 0 ? hi : std::max(p.max, hi);
                p.min = c == 0 ? lo : std::min(p.min, lo);
            }
            if (!points.empty() && points.back().s == p.s && points.back().max == p.max && points.back().min == p.min)
                continue;
            points.push_back(p);
        }
    }
    curve.regions.push_back(std::move(points));
}

} // namespace

Envelopes ComputeEnvelopes(const PreparedLines &lines, const ActionSet &actions)
{
    Envelopes out;
    const unsigned present = lines.lines.presentActions();
    // No kmod here: the combinations with every present action are enough,
    // since at a section each one adds in the sign sought.
    const std::vector<Combination> fundamental = WithZeroFactorsOutside(
        Combinations(CombinationKind::Fundamental, actions, present, 0, false));
    const std::vector<Combination> characteristic = WithZeroFactorsOutside(
        Combinations(CombinationKind::Characteristic, actions, present, 0, false));

    // Along the beam: left cantilever, spans 1..3, right cantilever.
    const int order[RegionCountEc] = {3, 0, 1, 2, 4};
    double s = 0;
    for (int r : order) {
        const UnitRegion &region = lines.lines.region[std::size_t(r)];
        out.start[std::size_t(r)] = s;
        out.length[std::size_t(r)] = region.exists ? region.length : 0;
        s += out.length[std::size_t(r)];
    }
    out.totalLength = s;
    for (int r : order) {
        const UnitRegion &region = lines.lines.region[std::size_t(r)];
        if (!region.exists || region.segments.empty())
            continue;
        const double start = out.start[std::size_t(r)];
        addRegion(out.M, lines.M, fundamental, r, region.length, start);
        addRegion(out.V, lines.V, fundamental, r, region.length, start);
        addRegion(out.EIw, lines.W, characteristic, r, region.length, start);
    }
    // A beam whose numbers overflow has no diagram.
    bool finite = std::isfinite(out.totalLength);
    for (const EnvelopeCurve *curve : {&out.M, &out.V, &out.EIw})
        for (const auto &points : curve->regions)
            for (const EnvelopePoint &p : points)
                finite = finite && std::isfinite(p.s) && std::isfinite(p.max) && std::isfinite(p.min);
    out.valid = finite && out.totalLength > 0 && !out.M.regions.empty();
    return out;
}

} // namespace varno::ec
