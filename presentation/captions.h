// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The texts the results window, the printed report and varno-calc show,
// made from the numbers of the analysis and the design.

#include "analysis/resultset.h"
#include "design/design.h"

#include <QLocale>
#include <QString>

#include <array>
#include <optional>

namespace varno {

constexpr int ResultLineCount = 19;

struct ResultLineTexts
{
    // Result lines 0..18: label text + value formatted "0.00" + unit, and
    // whether the line belongs to the system (the window shows those).
    std::array<QString, ResultLineCount> lines;
    std::array<bool, ResultLineCount> visible{};
};

ResultLineTexts ResultLines(const ResultSet &results, int spans, const QLocale &locale);

// The six display texts of one design run; a text that the run does not
// write stays unset and the window keeps its previous caption.
struct DesignTexts
{
    std::optional<QString> timberWy;       // "Wy erf =  " + "0.0" + " cm3"
    std::optional<QString> timberHeight;   // "h =  " + "0.0" + "  cm"
    std::optional<QString> timberVerdict;
    std::optional<QString> steelWy;
    std::optional<QString> steelProfile;   // prefix + designation
    std::optional<QString> steelVerdict;
    // Not empty when no design was possible: one German message naming the
    // file or the value; the window layer shows it once.
    QString failure;
};

DesignTexts DesignCaptions(const DesignResult &design, const QLocale &locale);

// "bending", "shear", "deflection": the names varno-calc writes.
QString GovernsName(Governs governs);

} // namespace varno
