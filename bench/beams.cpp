// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/beams.h"

namespace varno::bench {

namespace {

QString text(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

ProjectTexts DefaultBeam()
{
    return ProjectTexts::Defaults();
}

ProjectTexts FullBeam()
{
    ProjectTexts t;
    const double lengths[RegionCount] = {5.0, 6.5, 4.5, 1.5, 2.0};
    for (int i = 0; i < RegionCount; ++i)
        t.lengths[i] = text(lengths[i]);

    // Different loads per region, so that no span mirrors another.
    const double kinds[LoadTypeCount] = {2.5, 1.5, 0.75, 0.25};
    for (int region = Span1; region <= RightCantilever; ++region)
        for (int k = 0; k < LoadTypeCount; ++k)
            t.uniform[region - 1][k] = text(kinds[k] * (1.0 + 0.1 * region));

    // Point loads spread over each region, never at its ends.
    for (int region = Span1; region <= RightCantilever; ++region) {
        const int count = EndSlot(region) - FirstSlot(region);
        const double length = lengths[region - 1];
        for (int i = 0; i < count; ++i) {
            const int slot = FirstSlot(region) + i;
            t.force[slot] = text(3.0 + 0.5 * i + region);
            t.distance[slot] = text(length * (i + 1) / (count + 1));
        }
    }
    t.timberGrade = 1;
    t.steelGrade = 0;
    return t;
}

} // namespace varno::bench
