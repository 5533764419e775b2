// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/numericbeam.h"
#include "model/projectmodel.h"
#include "session/session.h"
#include "graphics/displaylist.h"

#include <QLocale>

#include <array>

namespace varno {

// Whether the lengths summed to `totalLength` give the pictures a
// horizontal scale; without one only the beam and the dimension line show.
bool HasHorizontalScale(double totalLength);

// System sketch of the dimensions window: beam, dimension line, ticks,
// supports and the five length labels Label8(0..4). Writes TotalLength.
DisplayList DrawSystemSketch(const std::array<QString, RegionCount> &lengthTexts, CalcSession &session,
                             const QLocale &locale);

// System and load picture of the results window: clears the area, sets the
// 37 labels Label8(0..36). Writes TotalLength and UniformLoadSum. The point
// loads that do not act (InactivePointLoads) get no arrow and no label.
DisplayList DrawSystemAndLoadPicture(const NumericBeam &beam, CalcSession &session, const QLocale &locale);

// Moment and shear diagrams, drawn over the current picture from the last
// ResultSet and GoverningMoment / GoverningShear of the session. Each region
// walks its point loads in slot order up to its first empty slot, passing
// over the loads that do not act.
DisplayList DrawMomentDiagram(const NumericBeam &beam, CalcSession &session);
DisplayList DrawShearDiagram(const NumericBeam &beam, CalcSession &session);

} // namespace varno
