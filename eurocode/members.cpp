// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/members.h"

#include <algorithm>
#include <cmath>

namespace varno::ec {

double DepthFactor(double hMm, double hRef, double exponent, double cap)
{
    if (hMm >= hRef)
        return 1;
    return std::min(std::pow(hRef / hMm, exponent), cap);
}

double CrackFactor(double numerator, double fvk)
{
    return std::min(1.0, numerator / fvk);
}

double DesignStrength(double kmod, double fk, double gammaM, double kh)
{
    return kh * kmod * fk / gammaM;
}

double BendingStress(double MkNm, const TimberSection &s)
{
    return std::abs(MkNm) * 1e6 / s.W();
}

double ShearStress(double VkN, const TimberSection &s, double kcr)
{
    return 1.5 * std::abs(VkN) * 1e3 / (kcr * s.b * s.h);
}

double Deflection(double EIw, double E, double I)
{
    return EIw * 1e12 / (E * I);
}

namespace {

int classOf(double ratio, double epsilon, const double limits[3])
{
    for (int i = 0; i < 3; ++i)
        if (ratio <= limits[i] * epsilon)
            return i + 1;
    return 4;
}

} // namespace

SectionClass ClassifySection(const Profile &p, double fy, const double flangeLimits[3], const double webLimits[3])
{
    SectionClass c;
    c.epsilon = std::sqrt(235.0 / fy);
    c.flangeRatio = (p.b - p.tw - 2 * p.r) / 2 / p.tf;
    c.webRatio = (p.h - 2 * p.tf - 2 * p.r) / p.tw;
    c.flange = classOf(c.flangeRatio, c.epsilon, flangeLimits);
    c.web = classOf(c.webRatio, c.epsilon, webLimits);
    c.section = std::max(c.flange, c.web);
    return c;
}

double BendingResistance(const Profile &p, int sectionClass, double fy, double gammaM0)
{
    const double Wel = p.Iy / (p.h / 20.0);   // cm³: Iy in cm⁴, h/2 in cm
    const double W = sectionClass <= 2 ? p.Wpl : Wel;
    return W * fy / gammaM0 / 1e3;
}

double ShearResistance(const Profile &p, double fy, double gammaM0)
{
    return p.Av * 100 * fy / (std::sqrt(3.0) * gammaM0) / 1e3;
}

double WebSlenderness(const Profile &p)
{
    return (p.h - 2 * p.tf) / p.tw;
}

double BendingShearResistance::rho(double VkN) const
{
    const double V = std::abs(VkN);
    if (V <= 0.5 * Vpl)
        return 0;
    const double r = 2 * std::min(V, Vpl) / Vpl - 1;
    return r * r;
}

BendingShearResistance BendingShear(const Profile &p, int sectionClass, double fy, double gammaM0)
{
    BendingShearResistance r;
    r.Mc = BendingResistance(p, sectionClass, fy, gammaM0);
    r.Vpl = ShearResistance(p, fy, gammaM0);
    const double hw = p.h - 2 * p.tf;                                        // mm
    const double W = sectionClass <= 2 ? hw * hw * p.tw / 4                   // mm³
                                       : p.tw * hw * hw * hw / 12 / (p.h / 2);
    r.Mweb = W * fy / gammaM0 / 1e6;
    return r;
}

} // namespace varno::ec
