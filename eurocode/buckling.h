// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Lateral-torsional buckling of a beam segment between lateral restraints:
// its moment line, the elastic critical moment Mcr, and the splitting of a
// span or cantilever into segments.
//
// Mechanics: a doubly symmetric section (rolled I or timber rectangle) with
// lateral bending stiffness EIz, torsional stiffness GIt and warping
// stiffness EIw, bent about its strong axis by M(x). The transverse loads
// follow from the moment line itself (q = −M'', a point load is a jump of
// M'), all acting at the height zg above the shear centre (top edge
// zg = h/2, centre 0, bottom edge −h/2). The second variation of the
// potential energy is
//
//   ½∫(EIz v''² + GIt φ'² + EIw φ''²) dx + λ∫M v''φ dx − ½λ zg (∫q φ² dx + ΣF φ²)
//
// (v lateral displacement of the shear centre, φ twist, λ the load factor);
// Mcr of a segment is λcr times its largest |M|. A load above the shear
// centre lowers Mcr whatever the sign of M.
//
// Units: x and lengths in m, M in kNm, loads in kN/m and kN, EIz and GIt in
// kNm², EIw in kNm⁴.

#include "eurocode/ecdata.h"

#include <vector>

namespace varno {
struct RegionLine;
}

namespace varno::ec {

// M(t) = m0 + m1·t + m2·t² with t = x − x0, on [x0, x1].
struct MomentPiece
{
    double x0 = 0, x1 = 0;
    double m0 = 0, m1 = 0, m2 = 0;

    double M(double x) const { const double t = x - x0; return m0 + (m1 + m2 * t) * t; }
    double V(double x) const { return m1 + 2 * m2 * (x - x0); }   // dM/dx
};

// A moment line on [0, L]: contiguous pieces, a kink or a jump of V only
// at the joints of pieces.
class MomentLine
{
public:
    MomentLine() = default;
    // The pieces must be contiguous and start at 0.
    explicit MomentLine(std::vector<MomentPiece> pieces);

    static MomentLine Uniform(double L, double M);
    // Linear from Mleft to Mright.
    static MomentLine Linear(double L, double Mleft, double Mright);
    // A span of length L with end moments and a uniform load q (downward).
    static MomentLine UniformLoad(double L, double q, double Mleft = 0, double Mright = 0);
    // A span with end moments and a point load F (downward) at a from the left.
    static MomentLine PointLoad(double L, double a, double F, double Mleft = 0, double Mright = 0);
    // Straight lines through (x[i], M[i]), x[0] = 0 and x increasing.
    static MomentLine Polyline(const std::vector<double> &x, const std::vector<double> &M);
    // The moment line of a span or cantilever of the analysis, times factor.
    static MomentLine FromRegion(const RegionLine &line, double factor = 1);

    double length() const { return pieces_.empty() ? 0 : pieces_.back().x1; }
    const std::vector<MomentPiece> &pieces() const { return pieces_; }
    double M(double x) const;

    // This line plus factor times another of the same length (the joints of
    // both are kept): a combination of unit lines.
    MomentLine plus(const MomentLine &other, double factor) const;
    // The part on [a, b], with x counted from a.
    MomentLine slice(double a, double b) const;
    // This line followed by another (x of `next` shifted by this length).
    MomentLine then(const MomentLine &next) const;
    // The same line seen from its other end: M'(x) = M(L − x).
    MomentLine reversed() const;

    // The largest |M| and where it is (exact: piece ends and vertices).
    double maxAbs(double *at = nullptr) const;
    // The point loads the line implies at its inner joints: F = V(x−) − V(x+).
    struct PointForce { double x = 0, F = 0; };
    std::vector<PointForce> pointLoads() const;

private:
    const MomentPiece &pieceAt(double x) const;
    std::vector<MomentPiece> pieces_;
};

// The stiffnesses of a section for lateral-torsional buckling and its
// height (the load positions lie at ±h/2).
struct LtbSection
{
    double EIz = 0;   // kNm²
    double GIt = 0;   // kNm²
    double EIw = 0;   // kNm⁴
    double h = 0;     // m
};

// A rolled profile of the table: Iz, It in cm⁴, Iw in cm⁶, E and G in N/mm².
LtbSection SteelLtbSection(const Profile &p, double E, double G);
// A timber rectangle b × h (mm): Iz = h b³/12, It of the rectangle, no warping.
LtbSection TimberLtbSection(double bMm, double hMm, double E, double G);

// Saint-Venant torsion constant of a solid rectangle b × h (any order), in
// the unit of the sides to the fourth: the series of the elastic solution,
// h b³/3 · (1 − 192/π⁵ · b/h · Σ tanh(nπh/2b)/n⁵, n odd), b ≤ h.
double RectangleTorsionConstant(double b, double h);

enum class LoadLevel { Top, Centre, Bottom };
// Height of the loads above the shear centre, m: h/2, 0, −h/2.
double LoadHeight(LoadLevel level, double h);

// The moment gradient factor C1 of a segment with both ends free to rotate
// laterally and to warp, from its moments at 0, L/4, L/2, 3L/4 and L and
// its largest |M| (A. López, D. J. Yong, M. A. Serna, Lateral-torsional
// buckling of steel beams: a general expression for the moment gradient
// factor, Lisbon 2006, with k1 = k2 = 1):
//   C1 = sqrt(21 Mmax² / (Mmax² + 5 M(L/4)² + 10 M(L/2)² + 5 M(3L/4)²)).
double MomentFactorC1(const MomentLine &line);

// Mcr of a fork-supported segment (k = kw = 1) in closed form:
//   Mcr = C1 π² EIz / L² · [sqrt(EIw/EIz + L² GIt/(π² EIz) + (C2 zg)²) − C2 zg]
double CriticalMomentClosedForm(double L, const LtbSection &s, double C1, double C2 = 0, double zg = 0);

// The critical load factor of a fork-supported segment (lateral
// displacement and twist prevented at both ends, free to rotate laterally
// and to warp) by a Fourier sine series of `terms` terms for v and φ, the
// method of Y. Galéa for end moments with a transverse load. Everything that
// depends on the moment line alone is computed once here; each section then
// costs one small search for the eigenvalue.
class ForkSegmentBuckling
{
public:
    explicit ForkSegmentBuckling(const MomentLine &line, int terms = 10);

    // λcr: the moment line times λcr buckles; infinite when the line is zero.
    double criticalFactor(const LtbSection &s, double zg) const;
    // Mcr = λcr · max|M|.
    double criticalMoment(const LtbSection &s, double zg) const { return criticalFactor(s, zg) * maxAbs_; }
    double maxAbs() const { return maxAbs_; }

private:
    int n_ = 0;
    double L_ = 0, maxAbs_ = 0, c1_ = 1;
    std::vector<double> H_;   // n×n: Cᵀ D⁻¹ C with the unit lateral stiffness
    std::vector<double> R_;   // n×n: the load term
};

// How an end of a buckling system is held.
enum class EndHold {
    Fork,    // lateral displacement and twist prevented
    Free,    // nothing prevented (the tip of a cantilever)
    Fixed,   // also lateral rotation and warping prevented
};

// The critical load factor of a chain of segments by finite elements
// (cubic Hermite elements for v and φ): the moment line over the whole
// chain, forks at the inner points `forks` (m), and the holds of both ends.
// It serves a cantilever with the adjacent span, which holds its root
// against lateral rotation, and as the reference of the Fourier solution.
class ChainBuckling
{
public:
    ChainBuckling(const MomentLine &line, const std::vector<double> &forks, EndHold start, EndHold end,
                  int elementsPerPiece = 6);

    double criticalFactor(const LtbSection &s, double zg) const;
    int unknowns() const { return n_; }

private:
    struct Band
    {
        int n = 0;
        static constexpr int width = 8;   // the diagonal and 7 above
        std::vector<double> a;            // a[i*width + k] = A(i, i+k)
        double &at(int i, int k) { return a[std::size_t(i) * width + k]; }
        double at(int i, int k) const { return a[std::size_t(i) * width + k]; }
    };
    int n_ = 0;
    double L_ = 0, maxAbs_ = 0;
    Band bendV_, torsion_, warping_, coupling_, load_;
};

// A cantilever segment whose tip is free, with the part of the adjacent span
// from the support to that span's first restraint (or its far support):
// `back` runs from that restraint (x = 0, a fork) to the support, `cantilever`
// from the support to the tip. Returns λcr of the joined system. For the
// left cantilever pass both lines reversed (the problem is the same seen
// from the other end).
double CantileverCriticalFactor(const MomentLine &back, const MomentLine &cantilever, const LtbSection &s, double zg,
                                int elementsPerPiece = 6);
// The same system, built once for several sections.
ChainBuckling CantileverChain(const MomentLine &back, const MomentLine &cantilever, int elementsPerPiece = 6);

// Where the compressed edge of a section is held, per span or cantilever.
enum class RestraintKind {
    Continuous,     // held everywhere: no lateral-torsional buckling
    Spacing,        // held at s, 2s, … from the (left) support
    SupportsOnly,   // held at the supports only (the default)
};

struct RegionRestraint
{
    RestraintKind kind = RestraintKind::SupportsOnly;
    double spacing = 0;   // m, for Spacing
};

enum class RegionKind { Span, LeftCantilever, RightCantilever };

// A segment between restraints, in the x of its region (as the lines count
// it: a span from its left support, the left cantilever from its free end,
// the right cantilever from its support).
struct LtbSegment
{
    double x0 = 0, x1 = 0;
    bool freeStart = false, freeEnd = false;   // an unheld cantilever tip
    double length() const { return x1 - x0; }
};

// The segments of a region. Supports are forks. Spacing s puts restraints
// at s, 2s, … from the support of a cantilever and from the left support
// of a span; the tip of a cantilever is held only when a restraint falls on
// it. Continuous gives no segment.
std::vector<LtbSegment> SplitRegion(RegionKind kind, double length, const RegionRestraint &restraint);

enum class Edge { Top, Bottom };

// The edges in compression along a segment's line: sagging (M > 0) puts the
// top edge in compression, hogging the bottom edge; `governing` is the one
// at the largest |M|.
struct CompressedEdges
{
    bool top = false, bottom = false;
    Edge governing = Edge::Top;
    double Mmax = 0;   // largest |M|, kNm
    double at = 0;     // where, m from the segment's start
};
CompressedEdges CompressedEdgesOf(const MomentLine &line);

} // namespace varno::ec
