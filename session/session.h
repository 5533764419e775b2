// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/resultset.h"
#include "design/design.h"

#include <array>

namespace varno {

// The values one run of the program keeps between computations. One object
// per program run, owned by the main window (or by varno-calc).
struct CalcSession
{
    ResultSet results;            // last analysis; xF1..xF3 carry over
    DesignState design;           // GoverningMoment, GoverningShear, ProfileHolder
    double TotalLength = 0;       // written by every drawing procedure
    std::array<double, 6> UniformLoadSum{}; // index 1..5 = LoadRegion
};

} // namespace varno
