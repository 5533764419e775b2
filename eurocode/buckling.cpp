// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/buckling.h"

#include "analysis/beamlines.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace varno::ec {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Infinite = std::numeric_limits<double>::infinity();

// The piece p rewritten with its origin at a (same polynomial).
MomentPiece rebased(const MomentPiece &p, double a, double b)
{
    const double d = a - p.x0;
    return {a, b, p.m0 + (p.m1 + p.m2 * d) * d, p.m1 + 2 * p.m2 * d, p.m2};
}

// Extremes of one piece: its ends and its vertex.
void pieceRange(const MomentPiece &p, double &lo, double &hi, double &absMax, double &absAt)
{
    auto visit = [&](double x) {
        const double m = p.M(x);
        lo = std::min(lo, m);
        hi = std::max(hi, m);
        if (std::abs(m) > absMax) {
            absMax = std::abs(m);
            absAt = x;
        }
    };
    visit(p.x0);
    visit(p.x1);
    if (p.m2 != 0) {
        const double xv = p.x0 - p.m1 / (2 * p.m2);
        if (xv > p.x0 && xv < p.x1)
            visit(xv);
    }
}

// The state of A(λ) after elimination: the number of negative pivots (the
// eigenvalues passed), the sign of det A (0 when a pivot vanished) and
// |det A| as mantissa · 2^exponent (it may leave the range of a double).
struct Pivots
{
    int negative = 0;
    int sign = 1;
    double mantissa = 1;
    int exponent = 0;
};

// Gaussian elimination of a symmetric matrix held as its upper band (width
// w above the diagonal, at(i, k) = A(i, i+k)), in place.
template <typename At>
Pivots eliminate(int n, int w, At at)
{
    Pivots p;
    for (int j = 0; j < n; ++j) {
        const double d = at(j, 0);
        if (d == 0) {
            p.sign = 0;
            return p;
        }
        if (d < 0) {
            ++p.negative;
            p.sign = -p.sign;
        }
        p.mantissa *= std::abs(d);
        if (p.mantissa > 1e100 || p.mantissa < 1e-100) {
            int e = 0;
            p.mantissa = std::frexp(p.mantissa, &e);
            p.exponent += e;
        }
        const int last = std::min(n - 1, j + w);
        for (int i = j + 1; i <= last; ++i) {
            const double lij = at(j, i - j) / d;
            if (lij == 0)
                continue;
            for (int k = i; k <= last; ++k)
                at(i, k - i) -= lij * at(j, k - j);
        }
    }
    return p;
}

// The smallest λ > 0 at which the symmetric matrix A(λ) (positive definite
// at λ = 0) becomes singular. By Sylvester's law of inertia the number of
// negative pivots of A(λ) is the number of critical values below λ: bracket
// the first one by steps of 1.5 from `guess` and by bisection until exactly
// one lies in (lo, hi], then regula falsi (Illinois) on det A, which
// changes sign there.
template <typename Evaluate>
double firstCritical(double guess, Evaluate evaluate)
{
    constexpr double Step = 1.5;
    double x = guess > 0 && std::isfinite(guess) ? guess : 1;
    Pivots p = evaluate(x);
    if (p.sign == 0)
        return x;
    double lo = 0, hi = x;
    Pivots plo, phi = p;
    bool haveLo = false;
    if (p.negative == 0) {
        haveLo = true;
        lo = x;
        plo = p;
        for (int i = 0;; ++i) {
            if (i > 400)
                return Infinite;
            hi = lo * Step;
            phi = evaluate(hi);
            if (phi.sign == 0)
                return hi;
            if (phi.negative > 0)
                break;
            lo = hi;
            plo = phi;
        }
    } else {
        for (int i = 0; i < 60; ++i) {
            const double down = hi / Step;
            const Pivots pd = evaluate(down);
            if (pd.sign == 0)
                return down;
            if (pd.negative == 0) {
                lo = down;
                plo = pd;
                haveLo = true;
                break;
            }
            hi = down;
            phi = pd;
        }
    }
    while (phi.negative > 1) {
        const double mid = 0.5 * (lo + hi);
        const Pivots pm = evaluate(mid);
        if (pm.sign == 0)
            return mid;
        if (pm.negative == 0) {
            lo = mid;
            plo = pm;
            haveLo = true;
        } else {
            hi = mid;
            phi = pm;
        }
        if (hi - lo <= 1e-14 * hi)
            return hi;
    }
    if (!haveLo)
        plo = evaluate(lo);
    // det A relative to its size at hi.
    const int ref = phi.exponent;
    auto value = [&](const Pivots &q) { return q.sign * std::ldexp(q.mantissa, std::clamp(q.exponent - ref, -1000, 1000)); };
    double flo = value(plo), fhi = value(phi);
    int side = 0;
    for (int iter = 0; iter < 100 && hi - lo > 1e-9 * hi; ++iter) {
        double m = (lo * fhi - hi * flo) / (fhi - flo);
        if (!(m > lo && m < hi))
            m = 0.5 * (lo + hi);
        const Pivots q = evaluate(m);
        if (q.sign == 0)
            return m;
        if (q.negative == 0) {
            lo = m;
            flo = value(q);
            if (side < 0)
                fhi /= 2;
            side = -1;
        } else {
            hi = m;
            fhi = value(q);
            if (side > 0)
                flo /= 2;
            side = 1;
        }
    }
    return 0.5 * (lo + hi);
}

} // namespace

MomentLine::MomentLine(std::vector<MomentPiece> pieces) : pieces_(std::move(pieces)) {}

MomentLine MomentLine::Uniform(double L, double M)
{
    return MomentLine({{0, L, M, 0, 0}});
}

MomentLine MomentLine::Linear(double L, double Mleft, double Mright)
{
    return MomentLine({{0, L, Mleft, (Mright - Mleft) / L, 0}});
}

MomentLine MomentLine::UniformLoad(double L, double q, double Mleft, double Mright)
{
    // M = Mleft + (Mright − Mleft) x/L + q x (L − x)/2
    return MomentLine({{0, L, Mleft, (Mright - Mleft) / L + q * L / 2, -q / 2}});
}

MomentLine MomentLine::PointLoad(double L, double a, double F, double Mleft, double Mright)
{
    const double slope = (Mright - Mleft) / L;
    const double Ma = Mleft + slope * a + F * a * (L - a) / L;
    return MomentLine({{0, a, Mleft, (Ma - Mleft) / a, 0}, {a, L, Ma, (Mright - Ma) / (L - a), 0}});
}

MomentLine MomentLine::Polyline(const std::vector<double> &x, const std::vector<double> &M)
{
    std::vector<MomentPiece> pieces;
    for (std::size_t i = 0; i + 1 < x.size(); ++i)
        pieces.push_back({x[i], x[i + 1], M[i], (M[i + 1] - M[i]) / (x[i + 1] - x[i]), 0});
    return MomentLine(std::move(pieces));
}

MomentLine MomentLine::FromRegion(const RegionLine &line, double factor)
{
    std::vector<MomentPiece> pieces;
    for (int i = 0; i < line.pieceCount; ++i) {
        const LinePiece &p = line.pieces[std::size_t(i)];
        pieces.push_back({p.x0, p.x1, factor * p.m[0], factor * p.m[1], factor * p.m[2]});
    }
    return MomentLine(std::move(pieces));
}

const MomentPiece &MomentLine::pieceAt(double x) const
{
    for (const MomentPiece &p : pieces_)
        if (x < p.x1)
            return p;
    return pieces_.back();
}

double MomentLine::M(double x) const
{
    return pieces_.empty() ? 0 : pieceAt(x).M(x);
}

MomentLine MomentLine::plus(const MomentLine &other, double factor) const
{
    std::vector<double> joints;
    for (const MomentLine *l : {this, &other})
        for (const MomentPiece &p : l->pieces_) {
            joints.push_back(p.x0);
            joints.push_back(p.x1);
        }
    std::sort(joints.begin(), joints.end());
    const double scale = std::max(length(), other.length());
    joints.erase(std::unique(joints.begin(), joints.end(),
                             [&](double a, double b) { return b - a <= 1e-12 * scale; }),
                 joints.end());
    std::vector<MomentPiece> pieces;
    for (std::size_t i = 0; i + 1 < joints.size(); ++i) {
        const double a = joints[i], b = joints[i + 1], mid = 0.5 * (a + b);
        MomentPiece sum{a, b, 0, 0, 0};
        if (!pieces_.empty()) {
            const MomentPiece p = rebased(pieceAt(mid), a, b);
            sum = p;
        }
        if (!other.pieces_.empty()) {
            const MomentPiece q = rebased(other.pieceAt(mid), a, b);
            sum.m0 += factor * q.m0;
            sum.m1 += factor * q.m1;
            sum.m2 += factor * q.m2;
        }
        pieces.push_back(sum);
    }
    return MomentLine(std::move(pieces));
}

MomentLine MomentLine::slice(double a, double b) const
{
    std::vector<MomentPiece> pieces;
    for (const MomentPiece &p : pieces_) {
        const double lo = std::max(a, p.x0), hi = std::min(b, p.x1);
        if (hi - lo <= 1e-12 * std::max(1.0, b - a))
            continue;
        MomentPiece r = rebased(p, lo, hi);
        r.x0 -= a;
        r.x1 -= a;
        pieces.push_back(r);
    }
    return MomentLine(std::move(pieces));
}

MomentLine MomentLine::then(const MomentLine &next) const
{
    std::vector<MomentPiece> pieces = pieces_;
    const double shift = length();
    for (MomentPiece p : next.pieces_) {
        p.x0 += shift;
        p.x1 += shift;
        pieces.push_back(p);
    }
    return MomentLine(std::move(pieces));
}

MomentLine MomentLine::reversed() const
{
    const double L = length();
    std::vector<MomentPiece> pieces;
    for (auto it = pieces_.rbegin(); it != pieces_.rend(); ++it)
        pieces.push_back({L - it->x1, L - it->x0, it->M(it->x1), -it->V(it->x1), it->m2});
    return MomentLine(std::move(pieces));
}

double MomentLine::maxAbs(double *at) const
{
    double lo = 0, hi = 0, absMax = 0, absAt = 0;
    for (const MomentPiece &p : pieces_)
        pieceRange(p, lo, hi, absMax, absAt);
    if (at)
        *at = absAt;
    return absMax;
}

std::vector<MomentLine::PointForce> MomentLine::pointLoads() const
{
    std::vector<PointForce> loads;
    for (std::size_t i = 0; i + 1 < pieces_.size(); ++i) {
        const MomentPiece &l = pieces_[i], &r = pieces_[i + 1];
        loads.push_back({l.x1, l.V(l.x1) - r.V(r.x0)});
    }
    return loads;
}

LtbSection SteelLtbSection(const Profile &p, double E, double G)
{
    // N/mm² · cm⁴ = 1e4 N·mm² = 1e-5 kNm²; N/mm² · cm⁶ = 1e6 N·mm⁴ = 1e-9 kNm⁴.
    return {E * p.Iz * 1e-5, G * p.It * 1e-5, E * p.Iw * 1e-9, p.h / 1000};
}

LtbSection TimberLtbSection(double bMm, double hMm, double E, double G)
{
    const double Iz = hMm * bMm * bMm * bMm / 12;             // mm⁴
    const double It = RectangleTorsionConstant(bMm, hMm);     // mm⁴
    return {E * Iz * 1e-9, G * It * 1e-9, 0, hMm / 1000};
}

double RectangleTorsionConstant(double b, double h)
{
    const double t = std::min(b, h), w = std::max(b, h);
    double sum = 0;
    for (int n = 1; n < 200; n += 2)
        sum += std::tanh(n * Pi * w / (2 * t)) / std::pow(double(n), 5);
    return w * t * t * t / 3 * (1 - 192 / std::pow(Pi, 5) * t / w * sum);
}

double LoadHeight(LoadLevel level, double h)
{
    switch (level) {
    case LoadLevel::Top: return h / 2;
    case LoadLevel::Bottom: return -h / 2;
    case LoadLevel::Centre: break;
    }
    return 0;
}

double MomentFactorC1(const MomentLine &line)
{
    const double Mmax = line.maxAbs();
    if (Mmax == 0)
        return 1;
    const double L = line.length();
    const double M1 = line.M(L / 4), M2 = line.M(L / 2), M3 = line.M(3 * L / 4);
    const double A1 = (Mmax * Mmax + 5 * M1 * M1 + 10 * M2 * M2 + 5 * M3 * M3) / (21 * Mmax * Mmax);
    return 1 / std::sqrt(A1);
}

double CriticalMomentClosedForm(double L, const LtbSection &s, double C1, double C2, double zg)
{
    const double Ncr = Pi * Pi * s.EIz / (L * L);
    const double c2zg = C2 * zg;
    return C1 * Ncr * (std::sqrt(s.EIw / s.EIz + s.GIt / Ncr + c2zg * c2zg) - c2zg);
}

ForkSegmentBuckling::ForkSegmentBuckling(const MomentLine &line, int terms)
    : n_(terms), L_(line.length()), maxAbs_(line.maxAbs()), c1_(MomentFactorC1(line)), H_(std::size_t(terms * terms)),
      R_(std::size_t(terms * terms))
{
    const int n = n_;
    const double L = L_;
    if (L <= 0)
        return;
    // With s_i = sin(iπx/L): s_i s_j = (cos((i−j)πx/L) − cos((i+j)πx/L))/2, so
    // every integral needs ∫ P(x) cos(kπx/L) dx for k = 0 … 2n on each piece.
    // Per piece and k: Mc[k] = ∫ M cos, Qc[k] = ∫ q cos with q = −M''.
    const int K = 2 * n + 1;
    std::vector<double> Mc(std::size_t(K), 0.0), Qc(std::size_t(K), 0.0);
    for (const MomentPiece &p : line.pieces()) {
        const double q = -2 * p.m2;
        const double Ma = p.M(p.x0), Mb = p.M(p.x1), Va = p.V(p.x0), Vb = p.V(p.x1);
        const double len = p.x1 - p.x0;
        Mc[0] += len * (p.m0 + len * (p.m1 / 2 + len * p.m2 / 3));
        Qc[0] += q * len;
        for (int k = 1; k < K; ++k) {
            const double w = k * Pi / L;
            const double sa = std::sin(w * p.x0), ca = std::cos(w * p.x0);
            const double sb = std::sin(w * p.x1), cb = std::cos(w * p.x1);
            // Antiderivative of P cos(wx): P sin/w + P' cos/w² − P'' sin/w³.
            Mc[std::size_t(k)] += (Mb * sb - Ma * sa) / w + (Vb * cb - Va * ca) / (w * w)
                                  - 2 * p.m2 * (sb - sa) / (w * w * w);
            Qc[std::size_t(k)] += q * (sb - sa) / w;
        }
    }
    const std::vector<MomentLine::PointForce> forces = line.pointLoads();
    std::vector<double> I(std::size_t(n * n));
    for (int i = 1; i <= n; ++i)
        for (int j = i; j <= n; ++j) {
            const std::size_t dk = std::size_t(j - i), sk = std::size_t(i + j);
            const double v = 0.5 * (Mc[dk] - Mc[sk]);
            double r = 0.5 * (Qc[dk] - Qc[sk]);
            for (const MomentLine::PointForce &f : forces)
                r += f.F * std::sin(i * Pi * f.x / L) * std::sin(j * Pi * f.x / L);
            I[std::size_t((i - 1) * n + j - 1)] = I[std::size_t((j - 1) * n + i - 1)] = v;
            R_[std::size_t((i - 1) * n + j - 1)] = R_[std::size_t((j - 1) * n + i - 1)] = r;
        }
    // v_i is bent by EIz k_i⁴ L/2 and coupled to φ_j by −k_i² I(i, j); with v
    // eliminated, H = Cᵀ diag(1/(k_i⁴ L/2)) C = (2/L) Σ_i I(i, j) I(i, l).
    for (int j = 0; j < n; ++j)
        for (int l = j; l < n; ++l) {
            double h = 0;
            for (int i = 0; i < n; ++i)
                h += I[std::size_t(i * n + j)] * I[std::size_t(i * n + l)];
            H_[std::size_t(j * n + l)] = H_[std::size_t(l * n + j)] = 2 / L * h;
        }
}

double ForkSegmentBuckling::criticalFactor(const LtbSection &s, double zg) const
{
    if (maxAbs_ == 0 || L_ <= 0)
        return Infinite;
    const int n = n_;
    // Scaled by the torsional stiffness of each term, D_j = (GIt k_j² + EIw k_j⁴) L/2:
    // A(λ) = I − λ zg R' − λ² H'/EIz.
    std::vector<double> d(static_cast<std::size_t>(n)), P(static_cast<std::size_t>(n * n)), Q(P), A(P);
    for (int j = 0; j < n; ++j) {
        const double k = (j + 1) * Pi / L_;
        d[std::size_t(j)] = 1 / std::sqrt((s.GIt * k * k + s.EIw * k * k * k * k) * L_ / 2);
    }
    for (int j = 0; j < n; ++j)
        for (int l = 0; l < n; ++l) {
            const double dd = d[std::size_t(j)] * d[std::size_t(l)];
            P[std::size_t(j * n + l)] = zg * R_[std::size_t(j * n + l)] * dd;
            Q[std::size_t(j * n + l)] = H_[std::size_t(j * n + l)] * dd / s.EIz;
        }
    auto evaluate = [&](double lambda) {
        for (int j = 0; j < n; ++j)
            for (int l = j; l < n; ++l)
                A[std::size_t(j * n + l)] = (j == l ? 1.0 : 0.0) - lambda * P[std::size_t(j * n + l)]
                                            - lambda * lambda * Q[std::size_t(j * n + l)];
        return eliminate(n, n - 1, [&](int i, int k) -> double & { return A[std::size_t(i * n + i + k)]; });
    };
    // Start from the closed form with C1 of the line (loads at the centre).
    return firstCritical(c1_ * Pi / L_ * std::sqrt(s.EIz * (s.GIt + Pi * Pi * s.EIw / (L_ * L_))) / maxAbs_, evaluate);
}

ChainBuckling::ChainBuckling(const MomentLine &line, const std::vector<double> &forks, EndHold start, EndHold end,
                             int elementsPerPiece)
{
    const double L = line.length();
    L_ = L;
    maxAbs_ = line.maxAbs();
    std::vector<double> stops = {0, L};
    for (const MomentPiece &p : line.pieces())
        stops.push_back(p.x0);
    for (double f : forks)
        stops.push_back(f);
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end(), [&](double a, double b) { return b - a <= 1e-9 * L; }),
                stops.end());
    std::vector<double> nodes;
    for (std::size_t i = 0; i + 1 < stops.size(); ++i)
        for (int e = 0; e < elementsPerPiece; ++e)
            nodes.push_back(stops[i] + (stops[i + 1] - stops[i]) * e / elementsPerPiece);
    nodes.push_back(L);
    const int nodeCount = int(nodes.size());

    // Unknowns per node: v, v', φ, φ'; a fork removes v and φ, a fixed end all four.
    auto isFork = [&](double x) {
        return std::any_of(forks.begin(), forks.end(), [&](double f) { return std::abs(f - x) <= 1e-9 * L; });
    };
    std::vector<int> index(std::size_t(4 * nodeCount), -1);
    for (int k = 0; k < nodeCount; ++k) {
        EndHold hold = EndHold::Free;
        if (k == 0)
            hold = start;
        else if (k == nodeCount - 1)
            hold = end;
        else if (isFork(nodes[std::size_t(k)]))
            hold = EndHold::Fork;
        const bool fixedLateral = hold != EndHold::Free, fixedRotation = hold == EndHold::Fixed;
        const bool held[4] = {fixedLateral, fixedRotation, fixedLateral, fixedRotation};
        for (int d = 0; d < 4; ++d)
            if (!held[d])
                index[std::size_t(4 * k + d)] = n_++;
    }
    for (Band *b : {&bendV_, &torsion_, &warping_, &coupling_, &load_}) {
        b->n = n_;
        b->a.assign(std::size_t(n_) * Band::width, 0.0);
    }
    auto add = [&](Band &b, int gi, int gj, double v) {
        if (gi < 0 || gj < 0)
            return;
        if (gi > gj)
            std::swap(gi, gj);
        b.at(gi, gj - gi) += v;
    };

    // Gauss–Legendre, 4 points on [0, 1]: exact to degree 7 (M quadratic ×
    // N'' linear × N cubic is of degree 6).
    const double gp[4] = {0.5 - 0.4305681557970263, 0.5 - 0.1699905217924281, 0.5 + 0.1699905217924281,
                          0.5 + 0.4305681557970263};
    const double gw[4] = {0.1739274225687269, 0.3260725774312731, 0.3260725774312731, 0.1739274225687269};
    for (int e = 0; e + 1 < nodeCount; ++e) {
        const double xa = nodes[std::size_t(e)], len = nodes[std::size_t(e + 1)] - xa;
        const MomentPiece *piece = &line.pieces().front();
        for (const MomentPiece &p : line.pieces())
            if (xa + 0.5 * len >= p.x0 && xa + 0.5 * len <= p.x1)
                piece = &p;
        const double q = -2 * piece->m2;
        // Local unknowns: v_a, v'_a, φ_a, φ'_a, v_b, v'_b, φ_b, φ'_b.
        int g[8];
        for (int d = 0; d < 4; ++d) {
            g[d] = index[std::size_t(4 * e + d)];
            g[4 + d] = index[std::size_t(4 * (e + 1) + d)];
        }
        const int vDof[4] = {0, 1, 4, 5}, fDof[4] = {2, 3, 6, 7};
        for (int k = 0; k < 4; ++k) {
            const double s = gp[k], w = gw[k] * len, x = xa + s * len;
            const double N[4] = {1 - 3 * s * s + 2 * s * s * s, len * (s - 2 * s * s + s * s * s), 3 * s * s - 2 * s * s * s,
                                 len * (-s * s + s * s * s)};
            const double N1[4] = {(-6 * s + 6 * s * s) / len, 1 - 4 * s + 3 * s * s, (6 * s - 6 * s * s) / len,
                                  -2 * s + 3 * s * s};
            const double N2[4] = {(-6 + 12 * s) / (len * len), (-4 + 6 * s) / len, (6 - 12 * s) / (len * len),
                                  (-2 + 6 * s) / len};
            const double M = piece->M(x);
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j) {
                    add(bendV_, g[vDof[i]], g[vDof[j]], w * N2[i] * N2[j]);
                    add(torsion_, g[fDof[i]], g[fDof[j]], w * N1[i] * N1[j]);
                    add(warping_, g[fDof[i]], g[fDof[j]], w * N2[i] * N2[j]);
                    add(load_, g[fDof[i]], g[fDof[j]], -w * q * N[i] * N[j]);
                    add(coupling_, g[vDof[i]], g[fDof[j]], w * M * N2[i] * N[j]);
                }
        }
    }
    // The symmetric blocks were added twice above the diagonal (i, j and j, i
    // land on the same stored entry) but once on it: halve the off-diagonal
    // entries of the blocks that were filled both ways.
    for (Band *b : {&bendV_, &torsion_, &warping_, &load_})
        for (int i = 0; i < n_; ++i)
            for (int k = 1; k < Band::width; ++k)
                b->at(i, k) *= 0.5;
    // Point loads at the joints of the line.
    for (const MomentLine::PointForce &f : line.pointLoads())
        for (int k = 0; k < nodeCount; ++k)
            if (std::abs(nodes[std::size_t(k)] - f.x) <= 1e-9 * L)
                add(load_, index[std::size_t(4 * k + 2)], index[std::size_t(4 * k + 2)], -f.F);
}

double ChainBuckling::criticalFactor(const LtbSection &s, double zg) const
{
    if (n_ == 0 || maxAbs_ == 0)
        return Infinite;
    const int n = n_;
    Band K, G, A;
    K.n = G.n = A.n = n;
    K.a.resize(bendV_.a.size());
    G.a.resize(bendV_.a.size());
    A.a.resize(bendV_.a.size());
    double gmax = 0;
    for (std::size_t i = 0; i < K.a.size(); ++i) {
        K.a[i] = s.EIz * bendV_.a[i] + s.GIt * torsion_.a[i] + s.EIw * warping_.a[i];
        G.a[i] = coupling_.a[i] + zg * load_.a[i];
        gmax = std::max(gmax, std::abs(G.a[i]));
    }
    if (gmax == 0)
        return Infinite;
    auto evaluate = [&](double lambda) {
        for (std::size_t i = 0; i < A.a.size(); ++i)
            A.a[i] = K.a[i] + lambda * G.a[i];
        return eliminate(n, Band::width - 1, [&](int i, int k) -> double & { return A.at(i, k); });
    };
    // Start from the factor of a uniform moment on the whole chain.
    const double guess = Pi / L_ * std::sqrt(s.EIz * (s.GIt + Pi * Pi * s.EIw / (L_ * L_))) / maxAbs_;
    return firstCritical(guess, evaluate);
}

ChainBuckling CantileverChain(const MomentLine &back, const MomentLine &cantilever, int elementsPerPiece)
{
    return ChainBuckling(back.then(cantilever), {back.length()}, EndHold::Fork, EndHold::Free, elementsPerPiece);
}

double CantileverCriticalFactor(const MomentLine &back, const MomentLine &cantilever, const LtbSection &s, double zg,
                                int elementsPerPiece)
{
    return CantileverChain(back, cantilever, elementsPerPiece).criticalFactor(s, zg);
}

std::vector<LtbSegment> SplitRegion(RegionKind kind, double length, const RegionRestraint &restraint)
{
    std::vector<LtbSegment> segments;
    if (length <= 0 || restraint.kind == RestraintKind::Continuous)
        return segments;
    const double eps = 1e-9 * length;
    // Restraint points measured from the support (the left one of a span).
    std::vector<double> points;
    if (restraint.kind == RestraintKind::Spacing && restraint.spacing > 0)
        for (double p = restraint.spacing; p < length + eps; p += restraint.spacing)
            points.push_back(std::min(p, length));
    const bool tipHeld = !points.empty() && std::abs(points.back() - length) <= eps;
    if (kind == RegionKind::LeftCantilever) {
        // Its x runs from the free end to the support.
        std::vector<double> cuts = {0};
        for (auto it = points.rbegin(); it != points.rend(); ++it)
            if (length - *it > eps)
                cuts.push_back(length - *it);
        cuts.push_back(length);
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
            segments.push_back({cuts[i], cuts[i + 1], i == 0 && !tipHeld, false});
        return segments;
    }
    std::vector<double> cuts = {0};
    for (double p : points)
        if (p < length - eps)
            cuts.push_back(p);
    cuts.push_back(length);
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
        segments.push_back({cuts[i], cuts[i + 1], false,
                            kind == RegionKind::RightCantilever && i + 2 == cuts.size() && !tipHeld});
    return segments;
}

CompressedEdges CompressedEdgesOf(const MomentLine &line)
{
    double lo = 0, hi = 0, absMax = 0, at = 0;
    for (const MomentPiece &p : line.pieces())
        pieceRange(p, lo, hi, absMax, at);
    CompressedEdges e;
    const double eps = 1e-12 * std::max(1.0, absMax);
    e.top = hi > eps;
    e.bottom = lo < -eps;
    e.Mmax = absMax;
    e.at = at;
    e.governing = line.M(at) < 0 ? Edge::Bottom : Edge::Top;
    return e;
}

} // namespace varno::ec
