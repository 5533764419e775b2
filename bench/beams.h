// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The two beams every benchmark runs on.

#include "model/projectmodel.h"

#include <QString>

namespace varno::bench {

// The start-up values: spans 6.00 / 6.00 / 5.00 m, no cantilevers, g = 2.00
// kN/m everywhere, no point loads.
ProjectTexts DefaultBeam();

// The largest input the program takes: three spans, both cantilevers, all
// four load kinds in every region and every one of the 27 point-load slots
// carrying a load within its region.
ProjectTexts FullBeam();

// A short name for the benchmark listings.
inline const QString DefaultBeamName = QStringLiteral("default");
inline const QString FullBeamName = QStringLiteral("three-span-full");

} // namespace varno::bench
