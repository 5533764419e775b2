// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/analysis.h"

#include <QLocale>
#include <QStringList>

namespace varno {

// One warning for every span and cantilever with an upward load: its
// smallest and largest moment of the exact line with their places, that
// the design takes the moment of largest magnitude of the whole line, and
// where the span moment MF is not the largest moment of its span.
QStringList UpwardLoadWarnings(const AnalysisOutcome &outcome, const QLocale &locale);

} // namespace varno
