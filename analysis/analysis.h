// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/resultset.h"
#include "model/projectmodel.h"

#include <QString>
#include <QStringList>

namespace varno {

// Number of spans from the lengths: L3 != 0 three, else L2 != 0 two, else one.
int SpanCount(double L2, double L3);

struct AnalysisOutcome
{
    // A refused run (a zero span length used as divisor, a result that would
    // be infinite or not a number) leaves the ResultSet untouched, xF
    // included.
    bool refused = false;
    QString refusal;        // German message naming the cause

    // "Geben Sie eine Belastung ein" once per unloaded span, in the order the
    // zero-shear search meets them; the window layer shows each as a warning.
    QStringList warnings;

    int spans = 0;
};

// The whole analysis over a snapshot of the input texts: the numbers only,
// the result lines are made where they are shown (ResultLines). Writes
// `results` only when the run is not refused.
AnalysisOutcome RunAnalysis(const ProjectTexts &texts, ResultSet &results);

inline const QString NoLoadWarningTitle = QStringLiteral("Warnung");
inline const QString NoLoadWarningText = QStringLiteral("Geben Sie eine Belastung ein");

} // namespace varno
