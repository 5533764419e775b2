// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/ecenvelope.h"

#include <algorithm>
#include <cmath>

namespace varno::ec {

namespace {

using Column = std::array<std::vector<double>, UnitLineCount>;

// The worst value of `sign` at sample k under one combination: G on all
// regions, each variable action on the regions whose line has that sign.
double worstAt(const Column &col, const std::array<bool, UnitLineCount> &present, const Combination &c, double sign,
               std::size_t k)
{
    double sum = 0;
    for (int a = 0; a < ActionCount; ++a) {
        if (!(c.actions & (1u << a)) || c.factor[a] == 0)
            continue;
        double part = 0;
        for (int r = 0; r < RegionCountEc; ++r) {
            if (!present[UnitLine(a, r)])
                continue;
            const double v = col[UnitLine(a, r)][k];
            if (a == ActG || sign * v > 0)
                part += v;
        }
        sum += c.factor[a] * part;
    }
    return sum;
}

struct Bounds
{
    double max = 0, min = 0;
};

Bounds boundsAt(const Column &col, const std::array<bool, UnitLineCount> &present,
                const std::vector<Combination> &combinations, std::size_t k)
{
    Bounds b;
    bool first = true;
    for (const Combination &c : combinations) {
        const double hi = worstAt(col, present, c, 1, k);
        const double lo = worstAt(col, present, c, -1, k);
        if (first || hi > b.max)
            b.max = hi;
        if (first || lo < b.min)
            b.min = lo;
        first = false;
    }
    // No load at all: the line is 0, as the empty sums say.
    return b;
}

// The parabola through (−1, y0), (0, y1), (1, y2) at t in [−1, 1].
double parabola(double y0, double y1, double y2, double t)
{
    return y1 + t * (y2 - y0) / 2 + t * t * (y0 - 2 * y1 + y2) / 2;
}

void track(EnvelopeCurve &curve, const EnvelopePoint &p)
{
    if (!curve.largest.found || p.max > curve.largest.value)
        curve.largest = {true, p.max, p.s};
    if (!curve.smallest.found || p.min < curve.smallest.value)
        curve.smallest = {true, p.min, p.s};
}

// One region: the samples come in threes (sample, midpoint, sample). For V
// the left end of an interval takes the shear just right of its sample and
// the right end the shear just left of its sample, so a point load on a
// sample is a vertical step.
void addRegion(EnvelopeCurve &curve, const RegionSamples &s, const std::array<bool, UnitLineCount> &present,
               const std::vector<Combination> &combinations, const Column &left, const Column &right, double start)
{
    std::vector<EnvelopePoint> points;
    const std::size_t n = s.x.size();
    for (std::size_t k = 0; k + 2 < n; k += 2) {
        const Bounds b0 = boundsAt(right, present, combinations, k);
        const Bounds b1 = boundsAt(right, present, combinations, k + 1);
        const Bounds b2 = boundsAt(left, present, combinations, k + 2);
        const double x0 = s.x[k], x2 = s.x[k + 2];
        const int steps = std::clamp(int(std::ceil(EnvelopeSubdivisions * 20 * (x2 - x0) / s.length)), 1,
                                     EnvelopeSubdivisions);
        for (int i = 0; i <= 2 * steps; ++i) {
            const double t = -1.0 + double(i) / steps;
            EnvelopePoint p;
            // The ends exactly at the samples, so the polyline never steps back.
            p.s = start + (i == 0 ? x0 : i == 2 * steps ? x2 : x0 + (x2 - x0) * (t + 1) / 2);
            p.max = parabola(b0.max, b1.max, b2.max, t);
            p.min = parabola(b0.min, b1.min, b2.min, t);
            // The envelope of the samples themselves is exact.
            if (i == 0) {
                p.max = b0.max;
                p.min = b0.min;
            }
            points.push_back(p);
            track(curve, p);
        }
    }
    if (n == 1) {
        const Bounds b = boundsAt(right, present, combinations, 0);
        points.push_back({start + s.x[0], b.max, b.min});
        track(curve, points.back());
    }
    curve.regions.push_back(std::move(points));
}

} // namespace

Envelopes ComputeEnvelopes(const SampledLines &lines, const ActionSet &actions)
{
    Envelopes out;
    const unsigned present = lines.presentActions();
    // No kmod here: the combinations with every present action are enough,
    // since at a section each one adds in the sign sought.
    const std::vector<Combination> fundamental =
        Combinations(CombinationKind::Fundamental, actions, present, 0, false);
    const std::vector<Combination> characteristic =
        Combinations(CombinationKind::Characteristic, actions, present, 0, false);

    // Along the beam: left cantilever, spans 1..3, right cantilever.
    const int order[RegionCountEc] = {3, 0, 1, 2, 4};
    double s = 0;
    for (int r : order) {
        out.start[r] = s;
        out.length[r] = lines.region[r].exists ? lines.region[r].length : 0;
        s += out.length[r];
    }
    out.totalLength = s;
    for (int r : order) {
        const RegionSamples &samples = lines.region[r];
        if (!samples.exists || samples.x.empty())
            continue;
        addRegion(out.M, samples, lines.present, fundamental, samples.M, samples.M, out.start[r]);
        addRegion(out.V, samples, lines.present, fundamental, samples.VL, samples.VR, out.start[r]);
        addRegion(out.EIw, samples, lines.present, characteristic, samples.W, samples.W, out.start[r]);
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
