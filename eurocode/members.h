// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The resistances of a timber rectangle and a rolled steel I-section, from
// the values of the data files. Stresses in N/mm², lengths in mm, moments in
// kNm, forces in kN.

#include "eurocode/buckling.h"
#include "eurocode/ecdata.h"

#include <vector>

namespace varno::ec {

// kh = min((h_ref / h)^exponent, cap) for h < h_ref, else 1.
double DepthFactor(double hMm, double hRef, double exponent, double cap);

// kcr after the German annex: numerator / fv,k, at most 1.
double CrackFactor(double numerator, double fvk);

struct TimberSection
{
    double b = 0, h = 0;      // mm
    double W() const { return b * h * h / 6; }             // mm³
    double I() const { return b * h * h * h / 12; }        // mm⁴
};

// Design strengths: f_d = kmod · f_k / γM (bending also times kh).
double DesignStrength(double kmod, double fk, double gammaM, double kh = 1);

// σ_m,d = M / W; τ_d = 1.5 V / (kcr · b · h).
double BendingStress(double MkNm, const TimberSection &s);
double ShearStress(double VkN, const TimberSection &s, double kcr);

// Deflection in mm from EI·w (kN·m³) and E (N/mm²), I (mm⁴).
double Deflection(double EIw, double E, double I);

// Cross-section class of a rolled I-section in bending about y: the larger of
// the flange's (outstand, c = (b − tw − 2r)/2, compression) and the web's
// (c = h − 2tf − 2r, bending). limits[i] are the factors of ε for class i+1.
struct SectionClass
{
    int flange = 0, web = 0, section = 0;   // 4: beyond class 3
    double epsilon = 0;
    double flangeRatio = 0, webRatio = 0;   // c/t
};
SectionClass ClassifySection(const Profile &p, double fy, const double flangeLimits[3], const double webLimits[3]);

// Mc,Rd = W · fy / γM0 with Wpl (classes 1, 2) or Wel = Iy / (h/2) (class 3).
double BendingResistance(const Profile &p, int sectionClass, double fy, double gammaM0);

// Vpl,Rd = Av · fy / (√3 · γM0).
double ShearResistance(const Profile &p, double fy, double gammaM0);

// hw / tw with hw = h − 2 tf.
double WebSlenderness(const Profile &p);

// The bending resistance under shear (EN 1993-1-1 6.2.8): Mc,Rd as long as
// |V| ≤ Vpl,Rd / 2; above, the shear area carries the reduced yield strength
// (1 − ρ) fy with ρ = (2 |V| / Vpl,Rd − 1)² (6.2.8(3)). The shear area of a
// rolled I-section in bending is its web, Aw = hw tw (hw = h − 2 tf), so
// MV,Rd = Mc,Rd − ρ · Mweb with the web's share of Mc,Rd:
//   classes 1, 2: Mweb = Aw² / (4 tw) · fy / γM0, its plastic modulus (6.2.8(5));
//   class 3:      Mweb = tw hw³ / 12 / (h / 2) · fy / γM0, its elastic modulus.
// What remains at ρ = 1 is the flanges' share, which is never 0. Beyond
// |V| = Vpl,Rd the section fails in shear; MV,Rd is not defined there.
struct BendingShearResistance
{
    double Mc = 0, Vpl = 0, Mweb = 0;   // kNm, kN, kNm

    double rho(double VkN) const;
    // MV,Rd for |V| ≤ Vpl,Rd.
    double at(double VkN) const { return Mc - rho(VkN) * Mweb; }
};

BendingShearResistance BendingShear(const Profile &p, int sectionClass, double fy, double gammaM0);

// Lateral-torsional buckling of a rolled I-section (EN 1993-1-1 6.3.2):
// λLT = sqrt(W fy / Mcr) with W of the section class (Wpl or Wel);
// ΦLT = 0.5 [1 + αLT (λLT − λLT,0) + β λLT²],
// χLT = 1 / (ΦLT + sqrt(ΦLT² − β λLT²)), at most 1 (and at most 1/λLT² for
// rolled sections, 6.3.2.3); χLT = 1 for λLT ≤ λLT,0 or MEd/Mcr ≤ λLT,0².
// The general case (6.3.2.2) is λLT,0 = 0.2, β = 1 without the 1/λLT² cap.
struct LtbParameters
{
    bool rolled = true;            // 6.3.2.3, else 6.3.2.2
    double lambda0 = 0, beta = 1;
    double hbLimit = 0;            // h/b up to which alphaLow applies
    double alphaLow = 0, alphaHigh = 0;
    double alpha(const Profile &p) const { return p.h / p.b <= hbLimit ? alphaLow : alphaHigh; }
};

// The parameters from the data (steel_stability.csv); every value read is
// appended to `used` (with its key and whether it is cited).
LtbParameters ReadLtbParameters(Lookup &lookup, std::vector<Value> &used);

struct LtbReduction
{
    double lambda = 0;     // λLT
    double phi = 0;        // ΦLT (0 on the plateau)
    double chi = 1;        // χLT
    bool plateau = false;  // λLT ≤ λLT,0 or MEd/Mcr ≤ λLT,0²
};
// McRk = W fy (kNm, without γ), Mcr and MEd in kNm.
LtbReduction LateralTorsionalReduction(double McRk, double Mcr, double MEd, double alpha, const LtbParameters &p);

// Mb,Rd = χLT W fy / γM1 (kNm).
double BucklingResistanceMoment(const Profile &p, int sectionClass, double fy, double gammaM1, double chiLT);

// Lateral-torsional buckling of a timber rectangle (EN 1995-1-1 6.3.3):
// σm,crit = π sqrt(E0,05 Iz G0,05 Itor) / (lef W) (6.31), times
// sqrt(stiffnessFactor) where the German annex raises E0,05 G0,05 of glulam;
// the solid softwood form σm,crit = factor b² E0,05 / (h lef) (6.32);
// λrel,m = sqrt(fm,k / σm,crit) (6.30); kcrit (6.34) = 1 up to λ1,
// intercept − slope λ up to λ2, 1/λ² above.
double TimberCriticalStress(const TimberSection &s, double E005, double G005, double lefM, double stiffnessFactor = 1);
double SoftwoodCriticalStress(const TimberSection &s, double E005, double lefM, double factor);
double RelativeSlendernessBending(double fmk, double sigmaCrit);

struct KcritParameters
{
    double lambda1 = 0, lambda2 = 0, intercept = 0, slope = 0;
};
KcritParameters ReadKcritParameters(Lookup &lookup, std::vector<Value> &used);
double Kcrit(double lambdaRelM, const KcritParameters &p);

// The effective length of a timber segment: the length of the segment
// divided by its moment factor (lef = l/C1, which gives l, 0.89 l and 0.80 l
// for a constant moment, a uniform load and a load at midspan), plus
// compressionEdge·h for loads on the compressed edge, minus tensionEdge·h
// for loads on the tension edge (m).
double TimberEffectiveLength(double lOverC1, double hM, LoadLevel level, Edge compressed, double compressionEdge,
                             double tensionEdge);

// The lateral-torsional buckling check of one steel segment, for a
// critical moment found by ForkSegmentBuckling or CantileverCriticalFactor:
// MEd = the largest |M| of its design line, McRk = W fy, χLT, Mb,Rd and
// MEd / Mb,Rd. C1 (López et al.) of the line is given for the report.
struct SteelLtbCheck
{
    CompressedEdges edges;
    double C1 = 1;
    double Mcr = 0, MEd = 0, McRk = 0;   // kNm
    double alpha = 0;
    LtbReduction reduction;
    double MbRd = 0;                     // kNm
    double utilization = 0;
};
SteelLtbCheck CheckSteelSegment(const MomentLine &design, double Mcr, const Profile &p, int sectionClass, double fy,
                                double gammaM1, const LtbParameters &parameters);

// The length that gives a rectangle without warping and loads at its centre
// the critical moment Mcr: π sqrt(EIz GIt) / Mcr (m); for a fork-supported
// segment l/C1. It is the lef of a cantilever, before the load position.
double EquivalentLength(const LtbSection &s, double McrCentre);

// The timber check of one segment (EN 1995-1-1 (6.33)): σm,d = MEd/W ≤
// kcrit fm,d with lef from the base length (l/C1, or EquivalentLength of a
// cantilever) and the load position on the edge compressed at the largest |M|.
struct TimberLtbCheck
{
    CompressedEdges edges;
    double lef = 0;          // m
    double sigmaCrit = 0, lambdaRelM = 0, kcrit = 1;
    double sigmaMd = 0, fmd = 0;
    double utilization = 0;  // σm,d / (kcrit fm,d)
};
struct TimberLtbValues
{
    double E005 = 0, G005 = 0, stiffnessFactor = 1, fmk = 0;
    double compressionEdge = 0, tensionEdge = 0;   // lef ± these times h
    KcritParameters kcrit;
};
TimberLtbCheck CheckTimberSegment(const MomentLine &design, double baseLength, const TimberSection &s, LoadLevel level,
                                  double fmd, const TimberLtbValues &v);

} // namespace varno::ec
