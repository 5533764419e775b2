// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One Eurocode check as the window and its report run it: the check with
// deflection limits that may differ from the data file's, the envelopes
// for the diagrams, and the defaults that follow the historic grades.

#include "eurocode/eccheck.h"
#include "eurocode/ecenvelope.h"

#include <array>
#include <optional>

namespace varno::ec {

// The deflection limits l/n a user can change, by the keys of the data file.
constexpr int LimitCount = 8;
inline const char *const LimitKeys[LimitCount] = {
    "limit.timber.span.w_inst",     "limit.timber.cantilever.w_inst", "limit.timber.span.w_fin",
    "limit.timber.cantilever.w_fin", "limit.timber.span.w_net_fin",   "limit.timber.cantilever.w_net_fin",
    "limit.steel.span.w",           "limit.steel.cantilever.w"};

struct RunInputs
{
    CheckOptions options;
    // n of l/n; unset: the data file's value.
    std::array<std::optional<double>, LimitCount> limits;
};

struct RunOutput
{
    CheckResult result;
    Envelopes envelopes;                       // only when asked for
    std::array<bool, LimitCount> limitChanged{};   // differs from the data file
    // The stiffness of the checked sections, for the deflection diagrams.
    double timberE = 0, steelE = 0;                // N/mm²
    double steelIy = 0;                            // cm⁴
};

// The limit of the data file, or nullopt when it is missing.
std::optional<double> DataLimit(const Data &data, int index);

// The EN class that the historic timber grade (list position) maps to;
// empty when the data gives none.
QString TimberClassOfGrade(const Data &data, int timberGrade);
// "S235" out of "St 360 C (S235JO)"; empty when the name holds none.
QString SteelGradeOfGrade(int steelGrade);

// The series names of the profile data for the window's "IPE", "HE-A", "HE-B".
QString SeriesKey(const QString &seriesName);

// Runs the check; with `envelopes`, also the envelopes (which sample the
// unit lines a second time).
RunOutput RunEurocode(const ProjectTexts &texts, const Data &data, const RunInputs &inputs, bool envelopes);

} // namespace varno::ec
