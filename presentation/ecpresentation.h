// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The presentation of one Eurocode run: every text of the check, made once
// from the numbers of the run. varno-calc's text block and its JSON object,
// the report and the window all render this structure, so they agree in
// every verdict, warning and source mark.
//
//   EcRun (inputs, RunOutput) --PresentEurocode(locale)--> EcPresentation
//     run-level: problems, warnings, assumptions, the values of the actions
//     per member (timber, steel): section, notes, warnings, checks, values,
//       the places of the beam (fields and supports) with η of every check
//       per check: name, formula, the formula with its values put in step by
//                  step, numbers, η, verdict, place, combination, warnings,
//                  the uncited values that entered it, η at every place
//
// Numbers are formatted in the locale asked for: the text output follows
// --locale, the report is German, the window follows the user's locale.

#include "analysis/analysis.h"
#include "eurocode/ecrun.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace varno {

// Why a member (timber or steel) was not checked.
enum class EcOmission {
    None,
    NoClassForGrade,    // the DIN grade has no EN class; `omittedName` is the grade
    NoClassChosen,      // no class given at all
    UnknownSteelGrade,  // `omittedName` is the grade that is not known
    NoSteelChosen,
    SizeOutOfRange,     // the width lies outside EcMinSizeCm..EcMaxSizeCm
};

// The smallest and largest width and height (cm) a check accepts: a
// millimetre, the step of the sizing, up to the sizing's search limit.
constexpr double EcMinSizeCm = 0.1;
constexpr double EcMaxSizeCm = ec::MaxTimberHeightMm / 10.0;
bool EcSizeAccepted(double cm);

// One run of the check as the presentation needs it: what it was asked,
// what it gave, and where the timber class came from.
struct EcRun
{
    ec::RunInputs inputs;
    ec::RunOutput output;                 // with the data files' problems in output.result.problems
    bool ran = false;                     // output holds a run
    QString classFromGrade;               // the DIN grade the class was derived from; empty when chosen
    ec::Value classMapping;               // that grade's row in the mapping
    EcOmission timberOmission = EcOmission::None;
    EcOmission steelOmission = EcOmission::None;
    QString timberOmittedName, steelOmittedName;
    // The point loads of the input that do not act (a missing region,
    // outside their region): every output names them.
    std::vector<InactivePointLoad> inactiveLoads;
};

// The timber class of the historic grade (list position) with the row of
// its mapping; fills classFromGrade, classMapping and, when the grade has
// no class, the omission. Returns the class, empty when there is none.
QString EcClassFromGrade(EcRun &run, const ec::Data &data, int timberGrade);

// A value the check used, as every output lists it.
struct EcValueRow
{
    QString group;          // "actions", "timber", "steel"
    QString name;           // "kmod(medium)", as the JSON names it
    QString symbol;         // "kmod (mittel)", as the engineer writes it
    double value = 0;
    QString duration;       // a load-duration class by its data name ("medium"); empty for a number
    QString key;            // the source key in data/eurocode/*.csv
    bool cited = true;
    QString text;           // "kmod (mittel) = 0,8 [kmod.solid.sc1.medium]", " (Quelle: nicht belegt)" added
};

// A check at one place of the beam.
struct EcPlaceValue
{
    bool done = false;          // the check has a value there
    std::optional<double> utilisation;
    bool met = true;
    double design = 0;
    double x = 0;               // m, in its region
    QString text;               // "0,88"; "–" where there is none
};

// The places of the tables, along the beam: "Kragarm li", "Auflager A",
// "Feld 1", "Auflager B", …, "Kragarm re", by their place numbers.
QString EcPlaceName(int place);
QString EcPlaceKey(int place);   // "Kl", "A", "F1", "B", …, "Kr"
// The place numbers in their order along the beam.
extern const int EcPlaceOrder[ec::PlaceCount];

struct EcCheck
{
    QString id;                 // "bending", "shear", … as the JSON names it
    QString name;               // "Biegung"
    QString formula;            // "σm,d = Md / W ≤ fm,d = kh · kmod · fm,k / γM"
    QString shortName;          // the column of the table of places: "σm", "τ", "w_inst"
    bool done = false;          // carried out: there is a load
    // Done only:
    QStringList steps;          // "W = b · h² / 6 = 10,0 · 20,0² / 6 = 666,67 cm³", …
    QString numbers;            // "σm,d = 16,31 N/mm² > fm,d = 14,77 N/mm²; kmod = 0,80, …"
    double design = 0, resistance = 0;
    ec::CheckUnit unit = ec::CheckUnit::Stress;
    std::optional<double> utilisation;   // finite; unset when there is none (`reason` says why)
    bool met = true;            // η ≤ 1; false also without a utilisation
    bool upward = false;        // a deflection that points up
    bool shearExceeded = false; // M–V: V_Ed > Vpl,Rd
    std::optional<double> shear;         // M–V: V_Ed at the section, kN
    double kmod = 0;            // timber ultimate checks
    int region = -1;
    double x = 0;               // m
    QString where;              // "Feld 1, x = 2,50 m"
    ec::Combination combination;
    QString combinationText;    // in words
    QString reason;             // why there is no utilisation
    QStringList warnings;       // belong to this check
    QStringList uncited;        // keys of the values without a citable source that entered it
    // Always:
    QString utilisationText;    // "η = 1,20"; "–" without one
    QString verdict;            // "erfüllt", "nicht erfüllt", "nicht geführt (keine Belastung)"
    QString summary;            // "η = 1,20 – nicht erfüllt"
    QString sourceMark;         // "Quelle: nicht belegt (limit.steel.span.w)"; empty when all are cited
    // The check at every place, by place number (ec::PlaceCount of them).
    std::vector<EcPlaceValue> places;
    // The check at a place where it has a value there, else nullptr.
    const EcPlaceValue *at(int place) const;
};

// The checks of one member: the timber beam or the steel profile.
struct EcMember
{
    QString id;                 // "timber", "steel"
    QString label;              // "Holz", "Stahl"
    QString title;              // "Nachweise Holz (EN 1995-1-1)"
    bool checked = false;       // false: omitted, `omission` says why
    QString omission;
    QString material;           // "C24", "S235"
    QString name;               // "Holz C24, 10,0 × 30,0 cm", "Stahl S235, IPE 200"
    QString heading;            // "Holz C24, Nutzungsklasse 1, b = 10,0 cm, h = 30,0 cm (erforderlich h = 33,1 cm)"
    QString section;            // "10,0 × 30,0 cm (erforderlich h = 33,1 cm)", "IPE 200 (bemessen)"
    bool sized = false;
    bool found = true;          // false: sized, and no size suffices
    QString noSize;             // no size up to the search limit suffices: which
    QStringList facts;          // "kh = 1,00, kcr = 0,50, kdef = 0,60, γM = 1,30"
    QStringList notes;          // where the class came from, with its source mark
    QStringList warnings;       // the member's own, beyond its checks'
    QStringList unusable;       // why the section may not be used although its checks hold
    std::vector<EcCheck> checks;
    std::vector<EcValueRow> values;
    // The places where a check has a value, in their order along the beam:
    // the rows of the table of places, whose columns are the checks.
    std::vector<int> places;
    bool met = true;            // checked, a size found, every check met, no warning that bars its use
};

struct EcPresentation
{
    bool done = false;          // at least one member was checked
    QStringList problems;       // why no check was made: the data files, the beam
    QStringList warnings;       // of the whole run
    QStringList assumptions;
    QString pointLoads;         // "Einzellasten: Eigengewicht g"
    std::vector<EcValueRow> actionValues;
    std::vector<EcMember> members;   // timber, then steel
    QStringList changedLimits;  // "limit.timber.span.w_inst = 250 (im Fenster geändert)"
    // Every reason the run must not be relied on, one German sentence each:
    // the problems, the omitted members, sizes not found, checks not met.
    QStringList errors;
    bool met() const { return errors.isEmpty(); }

    const EcMember *member(const QString &id) const;
};

EcPresentation PresentEurocode(const EcRun &run, const QLocale &locale);

// The German locale of the report, whatever the user's.
QLocale EcReportLocale();

// The text block of varno-calc: "Nachweise nach Eurocode", the assumptions,
// each member with its checks and its table of places, the warnings, every
// value used.
QStringList EcTextLines(const EcPresentation &presentation);

// The table of places of a member as rows of texts: a heading row ("Stelle",
// the checks' short names), then one row per place with η of every check.
std::vector<QStringList> EcPlaceTable(const EcMember &member);

inline const QString EcHeading = QStringLiteral("Nachweise nach Eurocode");
inline const QString EcUncited = QStringLiteral("Quelle: nicht belegt");

} // namespace varno
