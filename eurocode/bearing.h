// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Bearing at a support: compression perpendicular to the grain of a timber
// rectangle (EN 1995-1-1 6.1.5) and the resistance of a rolled web to a
// transverse force (EN 1993-1-5 section 6). Lengths in mm, forces in kN,
// stresses in N/mm².

#include "eurocode/ecdata.h"

#include <limits>
#include <vector>

namespace varno::ec {

constexpr double NoLimit = std::numeric_limits<double>::infinity();

// The values of the timber rule, from timber_factors.csv.
struct TimberBearingFactors
{
    double extension = 0;         // mm added on each side with timber beyond the contact
    double kc90Default = 0;       // where no higher value applies
    double kc90Solid = 0;         // solid softwood, discrete support, l1 ≥ l1Min·h
    double kc90Glulam = 0;        // glulam, discrete support, l1 ≥ l1Min·h, l ≤ glulamMaxLength
    double glulamMaxLength = 0;   // mm
    double l1Min = 0;             // in multiples of h
};
TimberBearingFactors ReadTimberBearingFactors(Lookup &lookup, std::vector<Value> &used);

struct TimberBearingInput
{
    double force = 0;                     // kN, the support force
    double b = 0, h = 0;                  // mm
    double contact = 0;                   // l: contact length along the beam, mm
    double beyondStart = NoLimit;         // timber beyond the contact towards x−, mm (the overhang a)
    double beyondEnd = NoLimit;           // and towards x+
    double l1 = NoLimit;                  // clear distance to the next contact area, mm
    bool glulam = false;
};

struct TimberBearingResult
{
    double lef = 0;       // mm: l plus min(extension, overhang, l) on each side
    double Aef = 0;       // mm²: b · lef
    double sigma = 0;     // σc,90,d = F / Aef
    double kc90 = 1;
    double fc90d = 0;     // kmod fc,90,k / γM
    double utilization = 0;   // σc,90,d / (kc,90 fc,90,d)
};
TimberBearingResult TimberBearing(const TimberBearingInput &in, double fc90k, double kmod, double gammaM,
                                  const TimberBearingFactors &f);

// How the force reaches the web (EN 1993-1-5 Figure 6.1): A through one
// flange, resisted by shear in the web (an inner support, also one with a
// cantilever beyond it); B through one flange and out through the other;
// C through one flange near an unstiffened end (an end support, the beam
// ending c beyond the bearing).
enum class WebLoadType { A, B, C };

struct WebBearingResult
{
    double hw = 0;        // h − 2 tf, mm
    double ss = 0;        // stiff bearing length used (at most hw), mm
    double kF = 0;
    double Fcr = 0;       // kN: 0.9 kF E tw³ / hw
    double m1 = 0, m2 = 0;
    double le = 0;        // type C only, mm
    double ly = 0;        // effective loaded length, mm
    double lambdaF = 0, chiF = 0;
    double Leff = 0;      // χF ℓy, mm
    double FRd = 0;       // kN: fyw Leff tw / γM1
};

// The resistance of the unstiffened web (no transverse stiffeners) of a
// rolled I to a force over the stiff bearing length ss; c is the distance
// from the bearing to the end of the beam for type C.
WebBearingResult WebTransverseResistance(const Profile &p, double fy, double E, double gammaM1, double ss,
                                         WebLoadType type, double c = 0);

} // namespace varno::ec
