#pragma once

#include "analysis/resultset.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>

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

// The six display texts; a text that a run does not write stays unset and
// the window keeps its previous caption.
struct DesignOutcome
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

DesignOutcome RunDesign(const ResultSet &results, const DesignInputs &inputs, DesignState &state,
                        const QLocale &locale);

// The signed element of largest magnitude; ties go to the earlier element.
double PickFirstLargest(std::initializer_list<double> values);

// The bending stiffness the deflection limits ask for, kN*m2: the largest of
// n * |EIfi| / Li over the spans and nK * |EIwK| / Lk over the cantilevers
// whose length is not 0. Timber then needs h = (12 R / (0.00001 Et b))^(1/3)
// in cm, steel I = R / (0.00001 Es) in cm4.
double DeflectionRequirement(const ResultSet &results, double spanLimit, double cantileverLimit);

} // namespace varno
