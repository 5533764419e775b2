// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

namespace varno {

// The results of the last analysis, in kN, m and kNm. Everything but
// xF1..xF3 is reset at the start of each run; the zero-shear positions carry
// over, because a span without any load keeps the position of the last run.
struct ResultSet
{
    double L1 = 0, L2 = 0, L3 = 0, Lkl = 0, Lkr = 0;
    double MA = 0, MB = 0, MC = 0, MD = 0;
    double MF1 = 0, MF2 = 0, MF3 = 0;
    double xF1 = 0, xF2 = 0, xF3 = 0;
    double Ali = 0, Are = 0, Bli = 0, Bre = 0, Cli = 0, Cre = 0, Dli = 0, Dre = 0;
    double EIf1 = 0, EIf2 = 0, EIf3 = 0, EIwKl = 0, EIwKr = 0;

    // Where a span or cantilever carries an upward load: the moment of
    // largest magnitude of the exact moment line over the whole beam, with
    // its sign; 0 otherwise. The design then takes it as its governing
    // moment, since the support and span moments need not hold the extremes
    // (it is never smaller than they are, being taken over the same line).
    double lineMoment = 0;
    // The same for the shear force: beside a point load inside a span the
    // shear may exceed every support shear once a load points up.
    double lineShear = 0;

    // Support reaction = jump of the shear force at the support.
    double A() const { return Are - Ali; }
    double B() const { return Bre - Bli; }
    double C() const { return Cre - Cli; }
    double D() const { return Dre - Dli; }
};

} // namespace varno
