// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The beam in numbers: what the analysis, the exact lines, the envelope, the
// Eurocode check and the pictures compute with. ReadBeam makes it from the
// texts of the input fields; it is the one place where those texts become
// numbers, and the project file's reader goes through it too.

#include "model/projectmodel.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace varno {

// Every load belongs to an action: permanent G, imposed Q, snow S or wind W,
// indexed as the uniform-load kinds (LoadType).
using LoadAction = LoadType;

// One of the 27 point-load slots. A force of 0 leaves the slot empty.
struct SlotLoad
{
    double F = 0;               // kN, downward positive
    double a = 0;               // m from the start node of its region
    LoadAction action = LoadG;  // the load window's point loads are permanent

    bool operator==(const SlotLoad &) const = default;
};

// Loads that the slots and the uniform loads cannot hold: point loads of an
// action of their own beyond the slots, uniform loads over part of a region,
// trapezoidal loads and point moments.
enum class ExtraLoadKind { PointLoad, PartialUniform, Trapezoidal, PointMoment };

struct ExtraLoad
{
    ExtraLoadKind kind = ExtraLoadKind::PointLoad;
    LoadAction action = LoadG;
    int region = Span1;         // LoadRegion 1..5
    double value = 0;           // F (kN), q (kN/m), q at a (kN/m) or M (kNm)
    double valueAtB = 0;        // trapezoidal loads: q at b (kN/m)
    double a = 0;               // m from the start node of the region
    double b = 0;               // partial and trapezoidal loads: where they end, m

    bool operator==(const ExtraLoad &) const = default;
};

// Number of spans from the lengths: L3 != 0 three, else L2 != 0 two, else one.
int SpanCount(double L2, double L3);

struct NumericBeam
{
    std::array<double, RegionCount> length{};                                 // L1, L2, L3, Lkl, Lkr (m)
    std::array<std::array<double, LoadTypeCount>, RegionCount> uniform{};     // [region - 1][action], kN/m
    std::array<SlotLoad, PointLoadSlotCount> point{};                         // slot order as typed
    std::vector<ExtraLoad> extra;                                             // none of the windows makes any yet
    int timberGrade = 1;
    int steelGrade = 0;

    double regionLength(int region) const { return length[std::size_t(region - 1)]; }
    // g + q + s + w of a region (1..5), added in that order.
    double uniformSum(int region) const;
    int spans() const { return SpanCount(length[LengthL2], length[LengthL3]); }

    bool operator==(const NumericBeam &) const = default;
};

// The five lengths L1, L2, L3, Lkl, Lkr of their texts, as ReadBeam reads
// them; for the sketch, which shows the lengths alone.
std::array<double, RegionCount> ReadLengths(const std::array<QString, RegionCount> &texts);

// The one reading of the input texts, each with LeadingNumber: the lengths,
// the uniform loads region by region (g, q, s, w), the point-load slots 0 to
// 26 (F, then a), the grades.
NumericBeam ReadBeam(const ProjectTexts &texts);

// Why the beam cannot be computed, in German, naming the input to mend; no
// value when it can. In this order: the first number beyond the double range
// in the order of reading, a first span of 0, the first negative length, a
// third span without a second, loads of a kind not computed yet.
std::optional<QString> BeamRefusal(const NumericBeam &beam);

// The beam with the loads of one action alone, on one region (1..5) or on
// all regions (0): the uniform loads and the point loads of that action stay,
// every other load is 0 (an emptied slot reads F = 0, a = 0).
NumericBeam LoadsOfAction(const NumericBeam &beam, LoadAction action, int region = 0);

// Whether LoadsOfAction(beam, action, region) carries any load.
bool HasLoadsOfAction(const NumericBeam &beam, LoadAction action, int region = 0);

} // namespace varno
