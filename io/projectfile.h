// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The project file (*.lof): 33 lines of numbers in 14-character print
// zones, CR LF line ends, Latin-1. Line 1 the five lengths, lines 2 to 5 the
// uniform loads g, q, s, w of regions 1 to 5, lines 6 to 32 point-load slot
// 0 to 26 (distance, then force), line 33 the two grade positions.

#include "model/numericbeam.h"
#include "model/projectmodel.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace varno {

constexpr int ProjectFileLineCount = 33;
constexpr int ProjectFileValueCount = 81;
constexpr int PrintZoneWidth = 14;
// A project file is about 1.5 kB; a foreign file chosen by mistake is read
// no further than this.
constexpr qint64 ProjectFileReadLimit = 16 * 1024 * 1024;

// The number's standard text form: a blank in place of the sign for a value
// that is not negative, "-" otherwise; up to 15 significant digits; no
// trailing zeros and no zero before the point (" 6", " .5", "-.25").
// Magnitudes (after rounding to 15 digits) of 1E+15 and above or below 1E-05
// use the exponent form with at least two exponent digits (" 1E+15",
// " 1.5E-07"). A value that is not finite gives " 0".
QString StandardTextForm(double value);

// The text a field is saved as: a single plain number, with blanks around it
// at most, exactly as it stands; anything else (empty, "4.5m", "1 000",
// "6,5", a tab or line feed) as the standard text form of its LeadingNumber,
// so that it can never spill into the next field or line.
QString SavedFieldText(const QString &fieldText);

// The 33 lines, ready to be written.
QByteArray ProjectFileBytes(const ProjectTexts &texts);

// Writes through a save file: when anything fails, an existing file is left
// as it was and `error` (optional) says why.
bool WriteProjectFile(const QString &path, const ProjectTexts &texts, QString *error = nullptr);

// What a file yields: every value as the standard text form of the number
// read, the grade positions rounded to the nearest integer.
struct ProjectFileValues
{
    bool ok = false;
    QString error;                                                       // German, when !ok
    std::array<QString, RegionCount> lengths;                            // L1, L2, L3, Lkl, Lkr
    std::array<std::array<QString, LoadTypeCount>, RegionCount> uniform; // [region - 1][load type]
    std::array<QString, PointLoadSlotCount> distance;
    std::array<QString, PointLoadSlotCount> force;
    int timberGrade = 0;
    int steelGrade = 0;

    // The values as the input texts of a freshly opened project.
    ProjectTexts toProjectTexts() const;
    // The beam of those texts, read as the windows' texts are (ReadBeam).
    NumericBeam toBeam() const;
};

// Reads the 81 numbers in file order; blanks, tabs, commas and line ends
// separate them, and two commas in a row hold an empty value (0). A value
// reads as its LeadingNumber, so a word reads 0. A file with fewer values, or
// one that cannot be read, gives ok == false and no values.
ProjectFileValues ParseProjectFile(const QByteArray &contents);
ProjectFileValues ReadProjectFile(const QString &path);

} // namespace varno
