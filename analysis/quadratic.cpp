// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/quadratic.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace varno {

int QuadraticRootsInside(double c0, double c1, double c2, double h, double roots[2])
{
    const double s = std::max({std::fabs(c0), std::fabs(c1), std::fabs(c2)});
    if (s == 0)
        return 0;
    c0 /= s;
    c1 /= s;
    c2 /= s;
    double found[2];
    int n = 0;
    if (c2 == 0) {
        if (c1 != 0)
            found[n++] = -c0 / c1;
    } else {
        const double d = c1 * c1 - 4 * c2 * c0;
        if (d >= 0) {
            const double qv = -0.5 * (c1 + std::copysign(std::sqrt(d), c1));
            // qv = 0 only when c0 = c1 = 0: the double root 0, not inside.
            if (qv != 0) {
                found[n++] = qv / c2;
                found[n++] = c0 / qv;
            }
        }
    }
    int inside = 0;
    for (int i = 0; i < n; ++i)
        if (found[i] > 0 && found[i] < h)
            roots[inside++] = found[i];
    if (inside == 2 && roots[0] > roots[1])
        std::swap(roots[0], roots[1]);
    return inside;
}

} // namespace varno
