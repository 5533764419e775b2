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

// The bending resistance under shear V (EN 1993-1-1 6.2.8): unreduced up to
// 0.5 Vpl,Rd; above, ρ = (2V/Vpl,Rd − 1)² and for classes 1, 2
// My,V,Rd = (Wpl − ρ Aw² / (4 tw)) fy / γM0 with Aw = hw tw, for class 3
// (1 − ρ) Mc,Rd; never more than Mc,Rd.
double ReducedBendingResistance(const Profile &p, int sectionClass, double fy, double gammaM0, double VkN);

} // namespace varno::ec
