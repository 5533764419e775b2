// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The steps of the analysis after the support moments and shears are known:
// zero-shear search, span moment, span deflection term and the cantilever tip
// terms. They work on plain numbers so that each step can be checked alone;
// RunAnalysis feeds them from the input texts. Each takes the point loads of
// a region in order of distance and leaves out empty rows, whatever order the
// rows come in.

#include <array>

namespace varno {

constexpr int SpanSlots = 7;
constexpr int CantileverSlots = 3;

// One region with its length, total uniform load g + q + s + w (kN/m) and
// its point-load slots in slot order (F in kN, a in m from the start node).
template<int Slots>
struct RegionLoads
{
    double length = 0;
    double q = 0;
    std::array<double, Slots> F{};
    std::array<double, Slots> a{};
};
using SpanLoads = RegionLoads<SpanSlots>;
using CantileverLoads = RegionLoads<CantileverSlots>;

// The loads of a region as the analysis walks them: the point loads in
// order of distance (loads at the same distance in row order), then the
// empty rows (F = 0) as F = 0, a = 0. A user may type the rows in any order
// and leave rows empty between them; the procedures below walk the slots
// and stop at the first empty one. For rows typed in ascending order without
// gaps this is the list as typed.
template<int Slots>
RegionLoads<Slots> InDistanceOrder(const RegionLoads<Slots> &loads)
{
    RegionLoads<Slots> out;
    out.length = loads.length;
    out.q = loads.q;
    int n = 0;
    for (int i = 0; i < Slots; ++i) {
        if (loads.F[i] == 0)
            continue;
        // Insertion after every load at a smaller or equal distance.
        int at = n;
        while (at > 0 && out.a[at - 1] > loads.a[i]) {
            out.a[at] = out.a[at - 1];
            out.F[at] = out.F[at - 1];
            --at;
        }
        out.a[at] = loads.a[i];
        out.F[at] = loads.F[i];
        ++n;
    }
    return out;
}

// Whether the loads already stand as InDistanceOrder puts them.
template<int Slots>
bool IsInDistanceOrder(const RegionLoads<Slots> &loads)
{
    int i = 0;
    while (i < Slots && loads.F[i] != 0 && (i == 0 || !(loads.a[i - 1] > loads.a[i])))
        ++i;
    for (; i < Slots; ++i)
        if (loads.F[i] != 0 || loads.a[i] != 0)
            return false;
    return true;
}

// The loads of the whole beam: spans 1..3, left and right cantilever.
struct BeamLoads
{
    std::array<SpanLoads, 3> span{};
    CantileverLoads left, right;
};

// The point of zero shear of a span with start shear V0, from its left
// support. `xF` comes in as the value of the last run and goes out as the new
// one; both are held within the span. Returns false for a span without any
// load: it keeps its xF and the caller warns.
bool FindZeroShear(const SpanLoads &span, double V0, double &xF);

// Moment at x of a span with start shear V0 and left support moment Ml.
double SpanMoment(const SpanLoads &span, double V0, double Ml, double x);

// Midspan deflection times stiffness (kN·m³), with the end moments Ml, Mr.
double SpanDeflection(const SpanLoads &span, double Ml, double Mr);

// Tip deflection times stiffness of the left cantilever beside span 1 (left
// support moment MA, right MB), downward positive.
double LeftCantileverDeflection(const SpanLoads &span1, double MA, double MB, const CantileverLoads &cantilever);

// Tip deflection times stiffness of the right cantilever beside the last span
// (left support moment Ml, right Mr), downward positive.
double RightCantileverDeflection(const SpanLoads &last, double Ml, double Mr, const CantileverLoads &cantilever);

} // namespace varno
