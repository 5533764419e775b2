// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The exact lines of a computed beam: moment M(x), shear V(x) and
// deflection times stiffness EI·w(x) of every span and cantilever, as
// piecewise polynomials between the point loads, with their extremes.
// Euler–Bernoulli beam of constant stiffness on rigid supports, the theory
// of the three-moment equation: with the support moments of the analysis
// the lines are exact for loads of either sign and point loads in any row
// order.
//
// x is in m from the left end of its region: from the left support of a
// span, from the free end of the left cantilever (its left end, where the
// distances of its point loads start too), from the support of the right
// cantilever. Sagging moments are positive, V = dM/dx, EI·w is downward
// positive in kN·m³ (EI·w'' = −M).

#include "analysis/resultset.h"
#include "analysis/spanterms.h"

#include <array>

namespace varno {

// Regions of the lines: spans 1..3, then the left and the right cantilever.
enum LineRegion { LineSpan1, LineSpan2, LineSpan3, LineLeftCantilever, LineRightCantilever, LineRegionCount };

// Between two point loads: with t = x − x0,
//   M(t) = m[0] + m[1]·t + m[2]·t²,  V(t) = m[1] + 2·m[2]·t,
//   EI·w(t) = w[0] + w[1]·t + w[2]·t² + w[3]·t³ + w[4]·t⁴.
struct LinePiece
{
    double x0 = 0, x1 = 0;
    std::array<double, 3> m{};
    std::array<double, 5> w{};

    double M(double x) const;
    double V(double x) const;
    double EIw(double x) const;
    double slope(double x) const;   // d(EI·w)/dx
};

struct LineExtremes
{
    double Mmax = 0, xMmax = 0;
    double Mmin = 0, xMmin = 0;
    double Vmax = 0;                 // the shear of largest magnitude, signed, Vstart and Vend included
    double EIwMax = 0, xEIwMax = 0;
    double EIwMin = 0, xEIwMin = 0;
};

struct RegionLine
{
    static constexpr int MaxPieces = SpanSlots + 1;

    bool exists = false;
    double length = 0;
    int pieceCount = 0;
    std::array<LinePiece, MaxPieces> pieces{};
    LineExtremes extremes;

    // The shear just inside the region at its two ends. A point load at
    // a = 0 or a = length stands just inside its region, so the support
    // beside it carries it: Vstart is the shear between the left end and
    // such a load (for a span the shear right of its left support, Are for
    // span 1), Vend the shear between such a load and the right end (for a
    // span the shear left of its right support, Bli for span 1; for the left
    // cantilever Ali).
    double Vstart = 0, Vend = 0;

    // The piece that holds x; at a point load the one to its right, so V is
    // the shear just right of the load inside the region. At its ends the
    // region's shears are Vstart and Vend.
    const LinePiece &pieceAt(double x) const;
    double M(double x) const { return pieceAt(x).M(x); }
    double V(double x) const { return pieceAt(x).V(x); }
    double EIw(double x) const { return pieceAt(x).EIw(x); }
};

struct BeamLines
{
    // False when the analysis was refused or a line would not be finite:
    // then there are no lines.
    bool valid = false;
    std::array<RegionLine, LineRegionCount> region{};
};

// The lines of the beam whose analysis gave `results` (support moments,
// shears and lengths) under `loads`. Point loads may stand in any row order
// with empty rows (F = 0) anywhere. Regions that do not exist (a span beyond
// `spans`, a cantilever of length 0) have no line.
BeamLines ExactBeamLines(const ResultSet &results, int spans, const BeamLoads &loads);

} // namespace varno
