// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The search for the worst design value by superposition of unit lines: the
// lines of one action on one region alone, polynomials between the point
// loads. At one section the worst choice of regions is exact: a variable
// action acts on a region when its line there has the sign sought. Between
// the zeros of the unit lines that choice does not change, so the design
// value there is one polynomial per combination, and its extremes are those
// of that polynomial: exact up to rounding, with no sampling.

#include "eurocode/combinations.h"
#include "eurocode/members.h"
#include "eurocode/polynomial.h"

#include <cmath>
#include <functional>
#include <vector>

namespace varno::ec {

// The unit lines on one region, cut at the piece boundaries of every unit
// line; each line as polynomials in t = x − x0 of its segment. A segment of
// length 0 at an end ("end section") is the section just inside that end,
// where a point load at the end stands: its dM/dt is the shear there, which
// counts that load.
struct UnitSegment
{
    double x0 = 0, x1 = 0;
    bool end = false;
    std::array<Poly<3>, UnitLineCount> m{};   // M in kNm; V = dM/dt
    std::array<Poly<5>, UnitLineCount> w{};   // EI·w in kN·m³, downward positive
};

struct UnitRegion
{
    bool exists = false;
    double length = 0;
    std::vector<UnitSegment> segments;   // along the region
};

// The places of a table of results along the beam: the field of each
// region (its sections between the supports, and a cantilever's free end)
// and the supports A to D (the sections over a support, on either side).
constexpr int SupportCountEc = 4;
constexpr int PlaceCount = RegionCountEc + SupportCountEc;
constexpr int SupportPlace(int support) { return RegionCountEc + support; }

struct UnitLines
{
    std::array<UnitRegion, RegionCountEc> region;
    std::array<bool, UnitLineCount> present{};
    // Lines with the same shape are multiples of each other: the same zeros.
    std::array<int, UnitLineCount> shape{};
    unsigned presentActions() const;   // bit a: action a acts somewhere
};

enum class LineQuantity { M, V, W };

// A stretch of a segment on which no unit line changes the sign of the
// quantity, with the worst choice of regions for one sign: per action the
// sum of its chosen lines (M for M and V, EI·w for W).
struct Cell
{
    int region = 0;
    bool end = false;                           // an end section
    double x0 = 0;                              // of the segment
    double t0 = 0, t1 = 0;                      // the stretch in t = x − x0
    double xa = 0, xb = 0;                      // its ends in x
    int placeA = 0, placeB = 0;                 // the places of xa and xb: the region's field or a support
    std::array<unsigned, ActionCount> choice{};   // bit r: the action acts on region r
    std::array<Poly<5>, ActionCount> sum{};
    // EI·w: per action the value of its sum at both ends, and a bound of its
    // magnitude on the stretch.
    std::array<double, ActionCount> atStart{}, atEnd{}, bound{};
};

// The cells of one quantity, region by region and along each; of every
// stretch the cell of the largest values, then the cell of the smallest.
struct PreparedQuantity
{
    LineQuantity quantity = LineQuantity::M;
    std::vector<Cell> cells;
};

PreparedQuantity Prepare(const UnitLines &lines, LineQuantity quantity);

// The quantity of a cell under the factors of a combination: one
// polynomial in t of the quantity's degree (M 2, V 1, EI·w 4).
int DegreeOf(LineQuantity quantity);
Poly<5> CellPolynomial(const Cell &cell, LineQuantity quantity, const Combination &c);

// The smallest and the largest value of such a polynomial on its cell, with
// where (in x) they are.
struct CellRange
{
    double min = 0, xMin = 0, max = 0, xMax = 0;
};
CellRange RangeOf(const Cell &cell, const Poly<5> &p, int degree);

struct Extreme
{
    bool found = false;
    double value = 0;      // the design value with its sign (kNm, kN or kN·m³)
    double score = 0;      // |value| · regionScale / weight
    double shear = 0;      // M: the shear of the same choice and combination there
    int region = -1;
    double x = 0;
    Combination combination;
    // Per action the value of its chosen lines there, without its factor:
    // the design value is the sum of these times the combination's factors.
    std::array<double, ActionCount> parts{};
};

// The worst design value of each place; EI·w only in the fields, since the
// supports are rigid.
using PlaceExtremes = std::array<Extreme, PlaceCount>;

// The worst design value over every existing region and every combination:
// largest |value| · regionScale[region] / weight(c), where it is the first
// along the regions, then the combinations. With `places`, also the worst of
// each place, by the same rule.
Extreme Worst(const PreparedQuantity &prepared, const std::vector<Combination> &combinations,
              const std::function<double(const Combination &)> &weight,
              const std::array<double, RegionCountEc> &regionScale, PlaceExtremes *places = nullptr);

// For the M–V interaction: a stretch with the moment of one choice of
// regions under one combination (the choice of the largest |M| or of the
// largest |V| there); its shear is dM/dt.
struct ForceStretch
{
    int region = 0;
    double t0 = 0, t1 = 0, xa = 0, xb = 0, x0 = 0;
    int placeA = 0, placeB = 0;
    Poly<3> m{};
    double maxM = 0, maxV = 0;   // of |M| and |V| on the stretch
    Combination combination;     // with its regions
};

std::vector<ForceStretch> InteractionStretches(const PreparedQuantity &M, const PreparedQuantity &V,
                                               const std::vector<Combination> &combinations);

// The governing section of the M–V interaction of one cross-section: where
// |V| ≤ Vpl,Rd the utilisation |M| / MV,Rd(V), where |V| > Vpl,Rd the
// section fails in shear and the utilisation is |V| / Vpl,Rd.
struct InteractionResult
{
    bool found = false;
    double utilisation = 0;
    bool shearExceeded = false;
    double M = 0, V = 0;           // at the section, with their signs
    double resistance = 0;         // MV,Rd, or Vpl,Rd when the shear is exceeded
    int region = -1;
    double x = 0;
    Combination combination;
};

using PlaceInteractions = std::array<InteractionResult, PlaceCount>;

// `bending` (with its shear) is where |M| is largest: it starts the search,
// so that stretches whose shear stays below Vpl,Rd / 2 need no look. With
// `enough` the search stops as soon as a utilisation exceeds it. With
// `places`, also the governing section of each place, started likewise from
// `bendingPlaces`.
InteractionResult WorstInteraction(const std::vector<ForceStretch> &stretches, const Extreme &bending,
                                   const BendingShearResistance &resistance, double enough = INFINITY,
                                   PlaceInteractions *places = nullptr, const PlaceExtremes *bendingPlaces = nullptr);

} // namespace varno::ec
