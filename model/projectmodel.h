// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How data flows through Varno:
//
//   input texts (the fields of the input windows, exactly as typed)
//     -> ProjectTexts snapshot
//     -> ReadBeam     (model/)     -> NumericBeam, every text read once
//     -> RunAnalysis  (analysis/)  -> ResultSet, spans, warnings or refusal
//     -> RunDesign    (design/)    -> GoverningMoment/-Shear + DesignResult
//     -> texts        (presentation/) -> 19 result lines, six design texts
//     -> pictures     (graphics/)  -> display lists in the 1000 x 300 frame
//     -> report       (io/)        -> one printed page or PDF
//
// The values that outlive one computation (ResultSet with its xF carry-over,
// GoverningMoment, GoverningShear, TotalLength, UniformLoadSum and the
// ProfileHolder) live in one CalcSession per run of the program.

#include <QLocale>
#include <QString>
#include <QStringView>

#include <array>

namespace varno {

// LoadRegion 1..5: span 1, span 2, span 3, left cantilever, right cantilever.
enum LoadRegion { Span1 = 1, Span2 = 2, Span3 = 3, LeftCantilever = 4, RightCantilever = 5 };
constexpr int RegionCount = 5;

// LoadType 0..3: g, q, s, w (kN/m).
enum LoadType { LoadG = 0, LoadQ = 1, LoadS = 2, LoadW = 3 };
constexpr int LoadTypeCount = 4;

// PointLoad slots 0..26: 0-6 span 1, 7-13 span 2, 14-20 span 3,
// 21-23 left cantilever, 24-26 right cantilever.
constexpr int PointLoadSlotCount = 27;

// First slot of a region and the slot just past its last one.
constexpr int FirstSlot(int region)
{
    constexpr int first[RegionCount + 1] = {0, 0, 7, 14, 21, 24};
    return first[region];
}
constexpr int EndSlot(int region)
{
    constexpr int end[RegionCount + 1] = {0, 7, 14, 21, 24, 27};
    return end[region];
}
constexpr int RegionOfSlot(int slot)
{
    return slot < 7 ? 1 : slot < 14 ? 2 : slot < 21 ? 3 : slot < 24 ? 4 : 5;
}

// Index of the length fields: L1, L2, L3, left cantilever, right cantilever.
// Region r (1..5) has its length at index r - 1.
enum LengthIndex { LengthL1 = 0, LengthL2 = 1, LengthL3 = 2, LengthLeft = 3, LengthRight = 4 };

constexpr int TimberGradeCount = 14;
constexpr int SteelGradeCount = 3;

// The input values of one calculation, each as the text of its field.
struct ProjectTexts
{
    std::array<QString, RegionCount> lengths;                                // L1, L2, L3, Lkl, Lkr
    std::array<std::array<QString, LoadTypeCount>, RegionCount> uniform;     // [region - 1][load type]
    std::array<QString, PointLoadSlotCount> force;                           // F, kN
    std::array<QString, PointLoadSlotCount> distance;                        // a, m
    int timberGrade = 1;
    int steelGrade = 0;

    // The start-up and New defaults.
    static ProjectTexts Defaults();

    double length(int index) const;
    double uniformLoad(int region, int loadType) const;
    // g + q + s + w of a region (1..5), added in that order.
    double uniformLoadSum(int region) const;
    double pointForce(int slot) const;
    double pointDistance(int slot) const;
};

// The text-to-number conversion of every input text: blanks, tabs and line
// feeds are ignored anywhere; sign, digits with one ".", exponent with E or D;
// reading stops at the first character that cannot continue; no number gives 0.
double LeadingNumber(QStringView text);

// The input windows' test: the text reads whole as a number (optional blanks,
// sign, digits with at most one ".", optional exponent). Empty text, a lone
// sign or a lone point are not numeric.
bool IsNumericText(QStringView text);

// A value in a fixed pattern such as "0.00": the given number of decimals,
// at least one integer digit, no group separators, the locale's decimal
// separator. A value that rounds to zero is shown without a minus sign.
QString FormatFixed(double value, int decimals, const QLocale &locale);

// A number as a reader of the program's output expects it: a negative zero
// is a zero (JSON and plain text would otherwise show "-0").
constexpr double WithoutNegativeZero(double value)
{
    return value == 0 ? 0.0 : value;
}

// Texts of the input windows' defaults and names shared by several windows.
namespace texts {
inline const QString DefaultLengths[RegionCount] = {QStringLiteral("6.00"), QStringLiteral("6.00"),
                                                    QStringLiteral("5.00"), QStringLiteral("0.00"),
                                                    QStringLiteral("0.00")};
inline const QString RegionLabels[RegionCount] = {QStringLiteral("Feld 1"), QStringLiteral("Feld 2"),
                                                  QStringLiteral("Feld 3"), QStringLiteral("Kragarm li"),
                                                  QStringLiteral("Kragarm re")};
inline const QString TimberGrades[TimberGradeCount] = {
    QStringLiteral("S 7 / MS 7"),        QStringLiteral("S 10 / MS 10"), QStringLiteral("S 13"),
    QStringLiteral("MS 13"),             QStringLiteral("MS 17"),        QStringLiteral("Laubholz"),
    QStringLiteral("BS 11  Typ 1"),      QStringLiteral("BS 11  Typ 2"), QStringLiteral("BS 14  Typ 1"),
    QStringLiteral("BS 14  Typ 2 u. 3"), QStringLiteral("BS 16  Typ 1"), QStringLiteral("BS 16  Typ 2 u. 3"),
    QStringLiteral("BS 18  Typ 1"),      QStringLiteral("BS 18  Typ 2 u. 3")};
inline const QString SteelGrades[SteelGradeCount] = {QStringLiteral("St 360 C (S235JO)"),
                                                     QStringLiteral("St 430 C (S275JO)"),
                                                     QStringLiteral("St 510 C (S355JO)")};
inline const QString HelpTitle = QStringLiteral("Hilfe");
inline const QString HelpText = QStringLiteral("Derzeit noch keine Hilfe installiert!");
inline const QString InputErrorTitle = QStringLiteral("Eingabefehler");
inline const QString InputErrorText = QStringLiteral("Geben Sie bitte eine Zahl ein!");
} // namespace texts

} // namespace varno
