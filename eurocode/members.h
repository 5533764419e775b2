// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The resistances of a timber rectangle and a rolled steel I-section, from
// the values of the data files. Stresses in N/mm², lengths in mm, moments in
// kNm, forces in kN.

#include "eurocode/ecdata.h"

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

} // namespace varno::ec
