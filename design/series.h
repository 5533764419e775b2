// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace varno {

// The three profile series of the steel design, as the results window's
// list, varno-calc and the profile table know them.
struct SteelSeries
{
    int position;              // in the results window's list
    const char *name;          // --series and the JSON: "IPE", "HE-A", "HE-B"
    const char16_t *prefix;    // before the designation in the results window
    int start;                 // first character of the series on a line of the profile table
    int columns;               // 0: the series runs to the end of the line
    QLatin1String key() const { return QLatin1String(name); }
};

inline constexpr std::array<SteelSeries, 3> SteelSeriesTable{{
    {0, "IPE", u"IPE/I  ", 0, 17},
    {1, "HE-A", u"HE-A  ", 102, 24},
    {2, "HE-B", u"HE-B  ", 246, 0},
}};

// The series of a list position: 0 IPE, 1 HE-A, any other HE-B.
constexpr const SteelSeries &SeriesAt(int position)
{
    return position == 0 ? SteelSeriesTable[0] : position == 1 ? SteelSeriesTable[1] : SteelSeriesTable[2];
}

// The position of a series named as --series names it, blanks and case aside.
std::optional<int> SeriesByName(QStringView name);

} // namespace varno
