// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Types a benchmark beam into the main window's input windows through their
// setters, so every change rule runs as it would for the user.

#include "app/mainwindow.h"
#include "model/projectmodel.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "dialogs/materialdialog.h"

namespace varno::bench {

// With `sameForAll` the four "für alle Felder gleich?" boxes end up set, and
// every region carries the loads of region 1.
inline void EnterBeam(MainWindow &window, const ProjectTexts &texts, bool sameForAll)
{
    DimensionsDialog *dimensions = window.dimensionsDialog();
    LoadDialog *loads = window.loadDialog();
    // Lengths first: the distance check compares every distance with them.
    for (int i = 0; i < RegionCount; ++i)
        dimensions->setLengthText(i, texts.lengths[i]);
    for (int k = 0; k < LoadTypeCount; ++k)
        loads->setSameForAll(k, false);
    for (int region = Span1; region <= RightCantilever; ++region)
        for (int k = 0; k < LoadTypeCount; ++k)
            loads->setUniformText(region, k, texts.uniform[region - 1][k]);
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        loads->setDistanceText(slot, texts.distance[slot]);
        loads->setForceText(slot, texts.force[slot]);
    }
    if (sameForAll)
        for (int k = 0; k < LoadTypeCount; ++k)
            loads->setSameForAll(k, true);
    window.materialDialog()->setTimberGrade(texts.timberGrade);
    window.materialDialog()->setSteelGrade(texts.steelGrade);
}

} // namespace varno::bench
