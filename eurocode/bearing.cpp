// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/bearing.h"

#include <algorithm>
#include <cmath>

namespace varno::ec {

TimberBearingFactors ReadTimberBearingFactors(Lookup &lookup, std::vector<Value> &used)
{
    auto take = [&](const char *key) {
        const Value v = lookup.value(QLatin1String(key));
        used.push_back(v);
        return v.value;
    };
    TimberBearingFactors f;
    f.extension = take("c90.extension");
    f.kc90Default = take("kc90.default");
    f.kc90Solid = take("kc90.solid.discrete");
    f.kc90Glulam = take("kc90.glulam.discrete");
    f.glulamMaxLength = take("kc90.glulam.max_length");
    f.l1Min = take("kc90.l1_min");
    return f;
}

TimberBearingResult TimberBearing(const TimberBearingInput &in, double fc90k, double kmod, double gammaM,
                                  const TimberBearingFactors &f)
{
    TimberBearingResult r;
    const double l = in.contact;
    r.lef = l + std::min({f.extension, in.beyondStart, l}) + std::min({f.extension, in.beyondEnd, l});
    r.Aef = in.b * r.lef;
    r.sigma = std::abs(in.force) * 1e3 / r.Aef;
    r.kc90 = f.kc90Default;
    if (in.l1 >= f.l1Min * in.h) {
        if (!in.glulam)
            r.kc90 = f.kc90Solid;
        else if (l <= f.glulamMaxLength)
            r.kc90 = f.kc90Glulam;
    }
    r.fc90d = kmod * fc90k / gammaM;
    r.utilization = r.sigma / (r.kc90 * r.fc90d);
    return r;
}

WebBearingResult WebTransverseResistance(const Profile &p, double fy, double E, double gammaM1, double ss,
                                         WebLoadType type, double c)
{
    WebBearingResult r;
    const double tw = p.tw, tf = p.tf, bf = p.b, fyw = fy, fyf = fy;
    r.hw = p.h - 2 * tf;
    r.ss = std::min(ss, r.hw);
    // No transverse stiffeners: the term 2 (hw/a)² of types A and B vanishes.
    switch (type) {
    case WebLoadType::A: r.kF = 6; break;
    case WebLoadType::B: r.kF = 3.5; break;
    case WebLoadType::C: r.kF = std::min(2 + 6 * (r.ss + c) / r.hw, 6.0); break;
    }
    const double FcrN = 0.9 * r.kF * E * tw * tw * tw / r.hw;
    r.Fcr = FcrN / 1e3;
    r.m1 = fyf * bf / (fyw * tw);
    auto loadedLength = [&](double m2) {
        if (type != WebLoadType::C)
            return r.ss + 2 * tf * (1 + std::sqrt(r.m1 + m2));
        r.le = std::min(r.kF * E * tw * tw / (2 * fyw * r.hw), r.ss + c);
        return std::min(r.le + tf * std::sqrt(r.m1 / 2 + (r.le / tf) * (r.le / tf) + m2),
                        r.le + tf * std::sqrt(r.m1 + m2));
    };
    // m2 = 0.02 (hw/tf)² when λF > 0.5, else 0: try 0 first.
    r.m2 = 0;
    r.ly = loadedLength(r.m2);
    r.lambdaF = std::sqrt(r.ly * tw * fyw / FcrN);
    if (r.lambdaF > 0.5) {
        r.m2 = 0.02 * (r.hw / tf) * (r.hw / tf);
        r.ly = loadedLength(r.m2);
        r.lambdaF = std::sqrt(r.ly * tw * fyw / FcrN);
    }
    r.chiF = std::min(0.5 / r.lambdaF, 1.0);
    r.Leff = r.chiF * r.ly;
    r.FRd = fyw * r.Leff * tw / gammaM1 / 1e3;
    return r;
}

} // namespace varno::ec
