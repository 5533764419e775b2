// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/resultset.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <initializer_list>
#include <vector>

namespace varno {

// The folder of the two data files: beside the program unless told otherwise.
QString DefaultDataDirectory();
QString MaterialTablePath(const QString &dataDirectory);   // .../wert2.txt
QString ProfileTablePath(const QString &dataDirectory);    // .../wert3.txt

// The value lists of the material window, cut from the material file:
// timber takes the 5 characters at 6*g + 1 of every line, steel the 6
// characters at 85 + 6*g of lines 1 to 8. Short lines give what exists.
// `readable` (optional) tells whether the file could be opened.
QStringList ReadTimberValues(const QString &materialPath, int grade, bool *readable = nullptr);
QStringList ReadSteelValues(const QString &materialPath, int grade, bool *readable = nullptr);

// The lines of a data file without their line ends (LF or CR LF); UTF-8, or
// Latin-1 when the file is not valid UTF-8. `readable` tells whether the
// file could be opened.
QStringList ReadDataFileLines(const QString &path, bool *readable = nullptr);

// "Holz   " / "Stahl   " + grade name.
QString TimberGradeCaption(int grade);
QString SteelGradeCaption(int grade);

// Series positions of the results window's list: 0 IPE, 1 HE-A, other HE-B.
QString SeriesPrefix(int series);

struct DesignInputs
{
    QString widthText = QStringLiteral("8.0");          // b, cm
    QString spanLimitText = QStringLiteral("300");      // FeldL / n
    QString cantileverLimitText = QStringLiteral("150"); // KragL / nK
    int series = 1;
    QStringList timberValues;                           // material window, List1
    QStringList steelValues;                            // material window, List2
    QString profileTablePath;                           // wert3.txt
};

// What the design keeps between runs. The holder lives as long as the
// results window: its creation empties it.
struct DesignState
{
    double GoverningMoment = 0;
    double GoverningShear = 0;
    QStringList ProfileHolder;
};

// What decided a design: the allowable bending stress, the allowable shear
// stress or the deflection limit.
enum class Governs { Bending, Shear, Deflection };

struct TimberDesign
{
    // Not empty when no design was possible: why, in German, naming the file
    // or the value. The numbers below are then 0.
    QString problem;
    double WyRequired = 0;   // cm3, of the chosen section: h * h * b / 6
    double h = 0;            // cm
    double b = 0;            // cm, the width the design was given
    Governs governs = Governs::Bending;
};

// Required over available for the chosen profile, each at most 1.
struct SteelUtilisation
{
    double bending = 0;      // bending stress over allowable = WyRequired / Wy
    double shear = 0;        // shear stress over allowable = shearAreaRequired / shearArea
    double deflection = 0;   // IyRequired / Iy
};

enum class ProfileChoice {
    None,           // no design: see `problem`
    Kept,           // nothing to carry: the held profile passes unsearched
    Found,          // the first profile of the series that carries everything
    NoneAdequate,   // not even the largest profile of the series carries
};

struct SteelDesign
{
    QString problem;                 // as for timber
    // WyRequired, IyRequired and shearAreaRequired hold the requirement; a
    // problem with the profile table still leaves them known.
    bool requirementKnown = false;
    double WyRequired = 0;           // cm3
    double IyRequired = 0;           // cm4
    double shearAreaRequired = 0;    // mm2
    int series = 1;                  // 0 IPE, 1 HE-A, 2 HE-B
    ProfileChoice choice = ProfileChoice::None;
    // Found: the position of the profile in its series, from 0.
    int column = -1;
    // Found and Kept: the designation as the table writes it ("120   ").
    QString designation;
    // Found: the chosen profile's section modulus (cm3), moment of inertia
    // (cm4) and shear area (mm2), and how much of them the design uses.
    double Wy = 0, Iy = 0, shearArea = 0;
    SteelUtilisation utilisation;
    // Found and NoneAdequate: the criterion the verdict names, the one that
    // ruled out the profile tried last before the choice (Bending when the
    // first profile of the series passes: the emptied holder fails on every
    // test, bending last).
    Governs governs = Governs::Bending;
};

// The numbers of one design run; the texts of the results window are made
// from them where they are shown (DesignCaptions).
struct DesignResult
{
    TimberDesign timber;
    SteelDesign steel;
};

// The profile table (wert3.txt) as one design run reads it: its lines, and
// the numbers of the three value lines (shear area, Iy, Wy) cut into their
// 6-character fields, read with LeadingNumber.
struct ProfileTable
{
    bool readable = false;
    QStringList lines;
    std::array<std::vector<double>, 3> values;
    // Field `field` (from 0) of value line `line`; 0 beyond the line's end.
    double value(int line, int field) const;
};

ProfileTable ReadProfileTable(const QString &path);

// `locale` reads the material values (moduli and allowable bending stress);
// nothing is formatted. Reads the profile table at inputs.profileTablePath.
DesignResult RunDesign(const ResultSet &results, const DesignInputs &inputs, DesignState &state,
                       const QLocale &locale);

// The same with the table already read; inputs.profileTablePath only names
// the file in messages.
DesignResult RunDesign(const ResultSet &results, const DesignInputs &inputs, const ProfileTable &table,
                       DesignState &state, const QLocale &locale);

// The signed element of largest magnitude; ties go to the earlier element.
double PickFirstLargest(std::initializer_list<double> values);

// The bending stiffness the deflection limits ask for, kN*m2: the largest of
// n * |EIfi| / Li over the spans and nK * |EIwK| / Lk over the cantilevers
// whose length is not 0. Timber then needs h = (12 R / (0.00001 Et b))^(1/3)
// in cm, steel I = R / (0.00001 Es) in cm4.
double DeflectionRequirement(const ResultSet &results, double spanLimit, double cantileverLimit);

} // namespace varno
