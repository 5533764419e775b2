// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The system sketch of the Eurocode report: the beam with its supports A to
// D, every uniform load of the input per region and action, every point
// load that acts with F and a, and the dimension lines of the regions and
// of the whole beam, lengths in m. All black, so that it prints clean on
// white paper.

#include "graphics/displaylist.h"
#include "model/projectmodel.h"

#include <QLocale>

namespace varno {

// The layout in the frame 1000 x 300: the beam from x = 100 to x = 900 on
// the axis y = EcSketchBeamY; the uniform loads in rows above it, one row
// per action that has a load anywhere (g next to the beam, then q, s, w);
// the point loads above those rows, their labels above the arrows (on two
// levels where they would overlap); the support letters below the supports,
// then the dimension line of the regions at EcSketchDimensionY and that of
// the whole beam below it.
constexpr double EcSketchBeamY = 185.0;
constexpr double EcSketchRowHeight = 20.0;
constexpr double EcSketchDimensionY = 260.0;
constexpr double EcSketchTotalY = 292.0;

// Labels, in this order: the support letters ("A" …), the region lengths
// ("4,00 m"), the total length (with more than one region), the row heads
// ("g [kN/m]"), the uniform loads ("1,00"), then per point load "F = 10,00 kN"
// and "a = 2,00 m".
DisplayList EcSystemSketch(const ProjectTexts &texts, const QLocale &locale);

} // namespace varno
