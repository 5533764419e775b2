// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The envelope diagrams of the Eurocode check: the largest values as a
// solid curve, the smallest as a dashed one, both black, so they read on
// paper without colour; the extreme values labelled where they occur.
// Positive values lie below the axis, as in the moment and shear diagrams.

#include "eurocode/ecenvelope.h"
#include "graphics/displaylist.h"

#include <QLocale>

namespace varno {

struct EnvelopeDiagramStyle
{
    QString symbol;          // "M", "V", "w"
    QString unit;            // "kNm", "kN", "mm"
    QString title;           // the caption inside the picture
    double factor = 1;       // from the curve's values to the unit
    int decimals = 2;
    QLocale locale;
};

// Axis at y = 150, beam from x = 100 to x = 900; the largest magnitude lies
// 100 units from the axis. Labels: 0 the title, 1 the largest value, 2 the
// smallest value.
constexpr double EnvelopeAxisY = 150.0;
constexpr double EnvelopeAmplitude = 100.0;
constexpr int EnvelopeLabelCount = 3;

DisplayList EnvelopeDiagram(const ec::EnvelopeCurve &curve, const ec::Envelopes &envelopes,
                            const EnvelopeDiagramStyle &style);

} // namespace varno
