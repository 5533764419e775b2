// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/members.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

LtbParameters ReadLtbParameters(Lookup &lookup, std::vector<Value> &used)
{
    auto take = [&](const char *key) {
        const Value v = lookup.value(QLatin1String(key));
        used.push_back(v);
        return v.value;
    };
    LtbParameters p;
    p.rolled = take("steel.ltb.rolled_method") != 0;
    const char *prefix = p.rolled ? "steel.ltb.rolled." : "steel.ltb.general.";
    auto keyed = [&](const char *name) { return take((QByteArray(prefix) + name).constData()); };
    p.lambda0 = keyed("lambda_LT0");
    p.beta = keyed("beta");
    p.hbLimit = keyed("hb_limit");
    p.alphaLow = keyed("alpha_low");
    p.alphaHigh = keyed("alpha_high");
    return p;
}

LtbReduction LateralTorsionalReduction(double McRk, double Mcr, double MEd, double alpha, const LtbParameters &p)
{
    LtbReduction r;
    if (!(Mcr > 0))
        return r;   // no critical moment: nothing to buckle
    r.lambda = std::sqrt(McRk / Mcr);
    if (r.lambda <= p.lambda0 || std::abs(MEd) / Mcr <= p.lambda0 * p.lambda0) {
        r.plateau = true;
        return r;
    }
    const double bl2 = p.beta * r.lambda * r.lambda;
    r.phi = 0.5 * (1 + alpha * (r.lambda - p.lambda0) + bl2);
    r.chi = 1 / (r.phi + std::sqrt(r.phi * r.phi - bl2));
    r.chi = std::min(r.chi, 1.0);
    if (p.rolled)
        r.chi = std::min(r.chi, 1 / (r.lambda * r.lambda));
    return r;
}

double BucklingResistanceMoment(const Profile &p, int sectionClass, double fy, double gammaM1, double chiLT)
{
    return chiLT * BendingResistance(p, sectionClass, fy, gammaM1);
}

double TimberCriticalStress(const TimberSection &s, double E005, double G005, double lefM, double stiffnessFactor)
{
    const double Iz = s.h * s.b * s.b * s.b / 12;
    const double It = RectangleTorsionConstant(s.b, s.h);
    return std::numbers::pi * std::sqrt(stiffnessFactor * E005 * Iz * G005 * It) / (lefM * 1000 * s.W());
}

double SoftwoodCriticalStress(const TimberSection &s, double E005, double lefM, double factor)
{
    return factor * s.b * s.b * E005 / (s.h * lefM * 1000);
}

double RelativeSlendernessBending(double fmk, double sigmaCrit)
{
    return std::sqrt(fmk / sigmaCrit);
}

KcritParameters ReadKcritParameters(Lookup &lookup, std::vector<Value> &used)
{
    auto take = [&](const char *key) {
        const Value v = lookup.value(QLatin1String(key));
        used.push_back(v);
        return v.value;
    };
    KcritParameters p;
    p.lambda1 = take("kcrit.lambda_1");
    p.lambda2 = take("kcrit.lambda_2");
    p.intercept = take("kcrit.intercept");
    p.slope = take("kcrit.slope");
    return p;
}

double Kcrit(double lambdaRelM, const KcritParameters &p)
{
    if (lambdaRelM <= p.lambda1)
        return 1;
    if (lambdaRelM <= p.lambda2)
        return p.intercept - p.slope * lambdaRelM;
    return 1 / (lambdaRelM * lambdaRelM);
}

double TimberEffectiveLength(double lOverC1, double hM, LoadLevel level, Edge compressed, double compressionEdge,
                             double tensionEdge)
{
    if (level == LoadLevel::Centre)
        return lOverC1;
    const bool onCompressed = (level == LoadLevel::Top) == (compressed == Edge::Top);
    return onCompressed ? lOverC1 + compressionEdge * hM : lOverC1 - tensionEdge * hM;
}

SteelLtbCheck CheckSteelSegment(const MomentLine &design, double Mcr, const Profile &p, int sectionClass, double fy,
                                double gammaM1, const LtbParameters &parameters)
{
    SteelLtbCheck c;
    c.edges = CompressedEdgesOf(design);
    c.C1 = MomentFactorC1(design);
    c.Mcr = Mcr;
    c.MEd = c.edges.Mmax;
    c.McRk = BendingResistance(p, sectionClass, fy, 1.0);
    c.alpha = parameters.alpha(p);
    c.reduction = LateralTorsionalReduction(c.McRk, Mcr, c.MEd, c.alpha, parameters);
    c.MbRd = BucklingResistanceMoment(p, sectionClass, fy, gammaM1, c.reduction.chi);
    c.utilization = c.MEd / c.MbRd;
    return c;
}

double EquivalentLength(const LtbSection &s, double McrCentre)
{
    return std::numbers::pi * std::sqrt(s.EIz * s.GIt) / McrCentre;
}

TimberLtbCheck CheckTimberSegment(const MomentLine &design, double baseLength, const TimberSection &s, LoadLevel level,
                                  double fmd, const TimberLtbValues &v)
{
    TimberLtbCheck c;
    c.edges = CompressedEdgesOf(design);
    c.lef = TimberEffectiveLength(baseLength, s.h / 1000, level, c.edges.governing, v.compressionEdge, v.tensionEdge);
    c.sigmaCrit = TimberCriticalStress(s, v.E005, v.G005, c.lef, v.stiffnessFactor);
    c.lambdaRelM = RelativeSlendernessBending(v.fmk, c.sigmaCrit);
    c.kcrit = Kcrit(c.lambdaRelM, v.kcrit);
    c.sigmaMd = BendingStress(c.edges.Mmax, s);
    c.fmd = fmd;
    c.utilization = c.sigmaMd / (c.kcrit * fmd);
    return c;
}

} // namespace varno::ec
