#pragma once

#include "analysis/resultset.h"
#include "app/model/projectmodel.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>

namespace varno {

constexpr int ResultLineCount = 19;

// Number of spans from the lengths: L3 != 0 three, else L2 != 0 two, else one.
int SpanCount(double L2, double L3);

struct AnalysisOutcome
{
    // A refused run (a zero span length used as divisor, a result that would
    // be infinite or not a number) leaves the ResultSet untouched, xF included,
    // and writes no result line.
    bool refused = false;
    QString refusal;        // German message naming the cause

    // "Geben Sie eine Belastung ein" once per unloaded span, in the order the
    // zero-shear search meets them; the window layer shows each as a warning.
    QStringList warnings;

    int spans = 0;
    // Result lines 0..18: label text + value formatted "0.00" + unit, and
    // whether the line belongs to the system (the window shows those).
    std::array<QString, ResultLineCount> lines;
    std::array<bool, ResultLineCount> visible{};
};

// The whole analysis over a snapshot of the input texts. Writes `results`
// only when the run is not refused.
AnalysisOutcome RunAnalysis(const ProjectTexts &texts, ResultSet &results, const QLocale &locale);

inline const QString NoLoadWarningTitle = QStringLiteral("Warnung");
inline const QString NoLoadWarningText = QStringLiteral("Geben Sie eine Belastung ein");

} // namespace varno
