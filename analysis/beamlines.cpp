// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/beamlines.h"

#include "analysis/quadratic.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace varno {

namespace {

// A zero of a reader's sort has no sign.
double plain(double v)
{
    return v + 0.0;
}

bool finite(const LinePiece &p)
{
    bool ok = std::isfinite(p.x0) && std::isfinite(p.x1);
    for (double c : p.m)
        ok = ok && std::isfinite(c);
    for (double c : p.w)
        ok = ok && std::isfinite(c);
    return ok;
}

// What starts a region at its left end: the length, the uniform load, the
// moment and the shear of the cut just inside the left end, and the point
// loads (any order, empty rows anywhere).
struct RegionStart
{
    double length = 0;
    double q = 0;
    double M0 = 0;
    double V0 = 0;
    const double *F = nullptr;
    const double *a = nullptr;
    int slots = 0;
};

// The zero of the slope s on [ta, tb], where s is monotone and changes its
// sign: Newton steps that stay inside the bracket, bisection otherwise.
template<typename Slope, typename Curvature>
double slopeZero(const Slope &s, const Curvature &ds, double ta, double tb)
{
    double sa = s(ta);
    double t = 0.5 * (ta + tb);
    for (int i = 0; i < 200; ++i) {
        const double st = s(t);
        if (st == 0)
            return t;
        if ((st < 0) == (sa < 0)) {
            ta = t;
            sa = st;
        } else {
            tb = t;
        }
        const double d = ds(t);
        double next = d != 0 ? t - st / d : 0.5 * (ta + tb);
        if (!(next > ta && next < tb))
            next = 0.5 * (ta + tb);
        if (next == t || tb - ta <= 4 * std::numeric_limits<double>::epsilon() * std::max(std::fabs(ta), std::fabs(tb)))
            return next;
        t = next;
    }
    return t;
}

// Builds the pieces of M and of the particular deflection p with p(0) = 0
// and p'(0) = 0; the caller adds the straight line the supports ask for.
void buildPieces(RegionLine &line, const RegionStart &r)
{
    line.exists = true;
    line.length = r.length;

    // The point loads in order of distance; empty rows carry nothing.
    double F[SpanSlots], a[SpanSlots];
    int n = 0;
    for (int i = 0; i < r.slots; ++i) {
        if (r.F[i] == 0)
            continue;
        int at = n;
        while (at > 0 && a[at - 1] > r.a[i]) {
            a[at] = a[at - 1];
            F[at] = F[at - 1];
            --at;
        }
        a[at] = r.a[i];
        F[at] = r.F[i];
        ++n;
    }

    // Break points: every distinct load distance strictly inside the region.
    double breaks[SpanSlots + 2];
    int b = 0;
    breaks[b++] = 0;
    for (int i = 0; i < n; ++i)
        if (a[i] > 0 && a[i] < r.length && a[i] != breaks[b - 1])
            breaks[b++] = a[i];
    breaks[b++] = r.length;

    line.pieceCount = b - 1;
    double w0 = 0, w1 = 0;
    for (int k = 0; k < line.pieceCount; ++k) {
        LinePiece &p = line.pieces[std::size_t(k)];
        const double x0 = breaks[k];
        p.x0 = x0;
        p.x1 = breaks[k + 1];
        // M and V just right of x0, from the left end: every load at or left
        // of x0 acts on the cut.
        double M = r.M0 + r.V0 * x0 - r.q * x0 * x0 / 2;
        double V = r.V0 - r.q * x0;
        for (int i = 0; i < n && a[i] <= x0; ++i) {
            M -= F[i] * (x0 - a[i]);
            V -= F[i];
        }
        p.m = {M, V, -r.q / 2};
        p.w = {w0, w1, -p.m[0] / 2, -p.m[1] / 6, -p.m[2] / 12};
        const double h = p.x1 - p.x0;
        w0 = p.w[0] + h * (p.w[1] + h * (p.w[2] + h * (p.w[3] + h * p.w[4])));
        w1 = p.w[1] + h * (2 * p.w[2] + h * (3 * p.w[3] + h * 4 * p.w[4]));
    }

    // The last piece ends left of the loads at the right end; Vend has them.
    const LinePiece &last = line.pieces[std::size_t(line.pieceCount - 1)];
    line.Vstart = r.V0;
    line.Vend = last.m[1] + 2 * last.m[2] * (last.x1 - last.x0);
    for (int i = 0; i < n; ++i)
        if (a[i] > last.x0 && a[i] <= r.length)
            line.Vend -= F[i];
}

// Adds c0 + c1·x to the deflection of every piece.
void addStraightLine(RegionLine &line, double c0, double c1)
{
    for (int k = 0; k < line.pieceCount; ++k) {
        LinePiece &p = line.pieces[std::size_t(k)];
        p.w[0] += c0 + c1 * p.x0;
        p.w[1] += c1;
    }
}

const LinePiece &lastPiece(const RegionLine &line)
{
    return line.pieces[std::size_t(line.pieceCount - 1)];
}

// `supportAtEnd`: the region ends on a support, where EI·w is 0 by its
// boundary condition and taken as exactly 0 (the sum of the polynomial
// there leaves a rounding residue that would decide ties).
void findExtremes(RegionLine &line, bool supportAtEnd)
{
    LineExtremes &e = line.extremes;
    const LinePiece &first = line.pieces[0];
    e.Mmax = e.Mmin = first.m[0];
    e.xMmax = e.xMmin = 0;
    e.Vmax = line.Vstart;
    e.EIwMax = e.EIwMin = first.w[0];
    e.xEIwMax = e.xEIwMin = 0;

    auto takeM = [&](const LinePiece &p, double t) {
        const double m = p.m[0] + t * (p.m[1] + t * p.m[2]);
        if (m > e.Mmax) {
            e.Mmax = m;
            e.xMmax = p.x0 + t;
        }
        if (m < e.Mmin) {
            e.Mmin = m;
            e.xMmin = p.x0 + t;
        }
    };
    auto takeV = [&](double v) {
        if (std::fabs(v) > std::fabs(e.Vmax))
            e.Vmax = v;
    };
    const LinePiece *last = &line.pieces[std::size_t(line.pieceCount - 1)];
    auto takeW = [&](const LinePiece &p, double t) {
        double w = p.w[0] + t * (p.w[1] + t * (p.w[2] + t * (p.w[3] + t * p.w[4])));
        if (supportAtEnd && &p == last && t == p.x1 - p.x0)
            w = 0;
        if (w > e.EIwMax) {
            e.EIwMax = w;
            e.xEIwMax = p.x0 + t;
        }
        if (w < e.EIwMin) {
            e.EIwMin = w;
            e.xEIwMin = p.x0 + t;
        }
    };

    for (int k = 0; k < line.pieceCount; ++k) {
        const LinePiece &p = line.pieces[std::size_t(k)];
        const double h = p.x1 - p.x0;
        takeM(p, 0);
        takeM(p, h);
        if (p.m[2] != 0) {
            const double t = -p.m[1] / (2 * p.m[2]);
            if (t > 0 && t < h)
                takeM(p, t);
        }
        takeV(p.m[1]);
        takeV(p.m[1] + 2 * p.m[2] * h);

        // The slope is monotone between the zeros of M (its derivative is
        // −M); a change of sign on such a stretch is an extreme of EI·w.
        takeW(p, 0);
        takeW(p, h);
        double split[4];
        int count = 0;
        split[count++] = 0;
        count += QuadraticRootsInside(p.m[0], p.m[1], p.m[2], h, split + 1);
        split[count++] = h;
        auto slope = [&p](double t) { return p.w[1] + t * (2 * p.w[2] + t * (3 * p.w[3] + t * 4 * p.w[4])); };
        auto curvature = [&p](double t) { return 2 * p.w[2] + t * (6 * p.w[3] + t * 12 * p.w[4]); };
        for (int i = 0; i + 1 < count; ++i) {
            const double ta = split[i], tb = split[i + 1];
            if (i > 0)
                takeW(p, ta);
            const double sa = slope(ta), sb = slope(tb);
            if ((sa < 0 && sb > 0) || (sa > 0 && sb < 0))
                takeW(p, slopeZero(slope, curvature, ta, tb));
        }
    }
    takeV(line.Vend);
    e.Mmax = plain(e.Mmax);
    e.Mmin = plain(e.Mmin);
    e.Vmax = plain(e.Vmax);
    e.EIwMax = plain(e.EIwMax);
    e.EIwMin = plain(e.EIwMin);
    e.xMmax = plain(std::clamp(e.xMmax, 0.0, line.length));
    e.xMmin = plain(std::clamp(e.xMmin, 0.0, line.length));
    e.xEIwMax = plain(std::clamp(e.xEIwMax, 0.0, line.length));
    e.xEIwMin = plain(std::clamp(e.xEIwMin, 0.0, line.length));
}

bool finite(const RegionLine &line)
{
    for (int k = 0; k < line.pieceCount; ++k)
        if (!finite(line.pieces[std::size_t(k)]))
            return false;
    const LineExtremes &e = line.extremes;
    for (double v : {e.Mmax, e.xMmax, e.Mmin, e.xMmin, e.Vmax, e.EIwMax, e.xEIwMax, e.EIwMin, e.xEIwMin,
                     line.Vstart, line.Vend})
        if (!std::isfinite(v))
            return false;
    return true;
}

} // namespace

double LinePiece::M(double x) const
{
    const double t = x - x0;
    return m[0] + t * (m[1] + t * m[2]);
}

double LinePiece::V(double x) const
{
    return m[1] + 2 * m[2] * (x - x0);
}

double LinePiece::EIw(double x) const
{
    const double t = x - x0;
    return w[0] + t * (w[1] + t * (w[2] + t * (w[3] + t * w[4])));
}

double LinePiece::slope(double x) const
{
    const double t = x - x0;
    return w[1] + t * (2 * w[2] + t * (3 * w[3] + t * 4 * w[4]));
}

const LinePiece &RegionLine::pieceAt(double x) const
{
    int k = 0;
    while (k + 1 < pieceCount && pieces[std::size_t(k + 1)].x0 <= x)
        ++k;
    return pieces[std::size_t(k)];
}

BeamLines ExactBeamLines(const ResultSet &r, int spans, const BeamLoads &loads)
{
    BeamLines lines;
    const double length[3] = {r.L1, r.L2, r.L3};
    const double moment[4] = {r.MA, r.MB, r.MC, r.MD};
    const double startShear[3] = {r.Are, r.Bre, r.Cre};
    const double endShear[3] = {r.Bre, r.Cre, r.Dre};
    spans = std::clamp(spans, 1, 3);

    for (int j = 0; j < spans; ++j) {
        if (!(length[j] > 0))
            return lines;
        RegionLine &line = lines.region[std::size_t(j)];
        const SpanLoads &s = loads.span[std::size_t(j)];
        buildPieces(line, {length[j], s.q, moment[j], startShear[j], s.F.data(), s.a.data(), SpanSlots});
        // Both supports stay where they are: the straight line through 0 at
        // the left support that brings the deflection to 0 at the right one.
        const LinePiece &end = lastPiece(line);
        addStraightLine(line, 0, -end.EIw(end.x1) / length[j]);
        findExtremes(line, true);
    }

    // A cantilever turns with the support cross-section of its span.
    if (r.Lkl > 0) {
        RegionLine &line = lines.region[LineLeftCantilever];
        buildPieces(line, {r.Lkl, loads.left.q, 0, 0, loads.left.F.data(), loads.left.a.data(), CantileverSlots});
        const double slopeA = lines.region[LineSpan1].pieces[0].slope(0);
        const LinePiece &end = lastPiece(line);
        const double c1 = slopeA - end.slope(end.x1);
        addStraightLine(line, -end.EIw(end.x1) - c1 * r.Lkl, c1);
        findExtremes(line, true);
    } else if (r.Lkl < 0) {
        return lines;
    }
    if (r.Lkr > 0) {
        RegionLine &line = lines.region[LineRightCantilever];
        const CantileverLoads &c = loads.right;
        buildPieces(line, {r.Lkr, c.q, moment[spans], endShear[spans - 1], c.F.data(), c.a.data(), CantileverSlots});
        const RegionLine &last = lines.region[std::size_t(spans - 1)];
        const LinePiece &end = lastPiece(last);
        addStraightLine(line, 0, end.slope(end.x1));
        findExtremes(line, false);
    } else if (r.Lkr < 0) {
        return lines;
    }

    for (const RegionLine &line : lines.region)
        if (line.exists && !finite(line))
            return BeamLines{};
    lines.valid = true;
    return lines;
}

} // namespace varno
