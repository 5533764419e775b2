// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace varno {

// The roots of c0 + c1·t + c2·t² strictly inside (0, h), ascending; returns
// their number (0, 1 or 2). The coefficients are scaled first, so that the
// discriminant of very large loads stays finite; the root of larger
// magnitude is taken without cancellation and the other by Vieta. A double
// root counts twice.
int QuadraticRootsInside(double c0, double c1, double c2, double h, double roots[2]);

} // namespace varno
