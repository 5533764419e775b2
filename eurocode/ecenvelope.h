// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The envelopes of the Eurocode check for the diagrams: at every drawn
// point the largest and the smallest value over all combinations of a kind
// and every choice of loaded regions, exact (the polynomials of the search),
// and the extremes of each curve, exact too.

#include "eurocode/eccheck.h"

#include <array>
#include <vector>

namespace varno::ec {

struct EnvelopePoint
{
    double s = 0;      // m from the left end of the beam
    double max = 0;
    double min = 0;
};

struct EnvelopeExtreme
{
    bool found = false;
    double value = 0;
    double s = 0;
};

struct EnvelopeCurve
{
    // One polyline per existing region, left to right along the beam; a
    // jump of the shear at a point load is a vertical step in it.
    std::vector<std::vector<EnvelopePoint>> regions;
    EnvelopeExtreme largest, smallest;
};

struct Envelopes
{
    bool valid = false;
    double totalLength = 0;
    // Start (m from the left end) and length of the regions in the order of
    // the lines: spans 1..3, left, right cantilever.
    std::array<double, RegionCountEc> start{}, length{};
    EnvelopeCurve M;     // kNm, fundamental combinations
    EnvelopeCurve V;     // kN, fundamental combinations
    EnvelopeCurve EIw;   // kN·m³, characteristic combinations (downward positive)
};

// Points drawn per twentieth of a region; a short stretch between two
// zeros of the unit lines or point loads gets fewer, never less than one.
constexpr int EnvelopeSubdivisions = 8;

Envelopes ComputeEnvelopes(const PreparedLines &lines, const ActionSet &actions);

} // namespace varno::ec
