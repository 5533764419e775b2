// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/analysis.h"

#include <QLocale>
#include <QStringList>

namespace varno {

// One warning for every span and cantilever with an upward load: its
// smallest and largest moment of the exact line with their places, that
// the design takes the moment and the shear of largest magnitude of the
// whole lines, and where the span moment MF is not the largest moment of
// its span.
QStringList UpwardLoadWarnings(const AnalysisOutcome &outcome, const QLocale &locale);

// One warning for every point load that does not act (InactivePointLoad):
// which load, its region, and why it is left out. From the loads a run left
// out, or from the beam alone (for a window that computes without a full
// analysis); all give the same texts.
QStringList InactiveLoadWarnings(const std::vector<InactivePointLoad> &loads, const QLocale &locale);
QStringList InactiveLoadWarnings(const AnalysisOutcome &outcome, const QLocale &locale);
QStringList InactiveLoadWarnings(const NumericBeam &beam, const QLocale &locale);
QStringList InactiveLoadWarnings(const ProjectTexts &texts, const QLocale &locale);

} // namespace varno
