// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Eurocode check of a beam: the unit lines of every action on every
// region, the combinations, and the checks of a timber rectangle
// (EN 1995-1-1) and a rolled steel I-section (EN 1993-1-1), each checked
// for a given size or sized. Numbers and keys only; the texts are made where
// they are shown.

#include "eurocode/combinations.h"
#include "eurocode/ecdata.h"
#include "eurocode/members.h"
#include "eurocode/search.h"
#include "model/projectmodel.h"

#include <QString>

#include <optional>
#include <vector>

namespace varno::ec {

struct CheckOptions
{
    bool timber = true;
    QString timberClass;            // EN 338 / EN 14080 class
    int serviceClass = 1;
    double bCm = 0;
    std::optional<double> hCm;      // check this height; sized either way
    bool steel = true;
    QString steelGrade;             // S235, S275, S355
    QString series;                 // IPE, HEA, HEB (as the profile file names them)
    QString profile;                // check this profile; empty: the lightest adequate
    QChar imposedCategory = u'A';
    bool snowHigh = false;
    int pointLoadAction = ActG;
};

// A value the check used, under the name of its symbol ("kmod", "fm,k").
struct NamedValue
{
    QString name;
    Value value;
};

enum class CheckUnit { Stress, Deflection, Moment, Force };

// A check at one place of the beam (see PlaceCount): its field or a support.
struct PlaceOutcome
{
    bool done = false;
    double utilisation = 0;
    double design = 0, resistance = 0;
    int region = -1;
    double x = 0;
    Combination combination;
};

struct CheckOutcome
{
    bool done = false;
    double utilisation = 0;
    double design = 0, resistance = 0;   // in `unit`: N/mm², mm, kNm or kN
    CheckUnit unit = CheckUnit::Stress;
    int region = -1;                     // line region 0..4
    double x = 0;                        // m
    Combination combination;
    double kmod = 0;                     // timber ULS only
    double shear = 0;                    // steel M–V: V_Ed at the section, kN
    bool upward = false;                 // deflection: the governing deflection points up
    bool shearExceeded = false;          // steel M–V: V_Ed > Vpl,Rd, the section fails in shear
    // Per action the characteristic value of its loads at the section, as the
    // combination chose them (kNm, kN; deflections in mm); the design value
    // is their sum with the combination's factors. Not for steel M–V.
    std::array<double, ActionCount> parts{};
    // By place number (PlaceCount of them) in a check's result; empty while
    // a size is sought.
    std::vector<PlaceOutcome> places;
};

struct TimberResult
{
    bool done = false;
    QString className;
    bool glulam = false;
    int serviceClass = 1;
    double b = 0, h = 0;             // cm
    double hRequired = 0;            // cm; 0 when no height up to the search limit suffices
    bool sized = false;              // h is hRequired
    double kh = 1, kcr = 1, kdef = 0, gammaM = 0;
    CheckOutcome bending, shear, deflectionInst, deflectionFin, deflectionNetFin;
    std::vector<NamedValue> values;
};

struct SteelResult
{
    bool done = false;
    QString grade, profile;
    bool sized = false;
    bool noneAdequate = false;       // no profile of the series carries
    SectionClass sectionClass;
    double webSlenderness = 0, webLimit = 0;   // hw/tw and 72 ε / η
    Profile section;                 // the profile checked
    BendingShearResistance resistance;   // Mc,Rd, Vpl,Rd and the web's share
    CheckOutcome bending, shear, bendingShear, deflection;
    std::vector<NamedValue> values;
};

struct CheckResult
{
    // Problems with the data files: the check is left out.
    std::vector<DataProblem> problems;
    // A unit load case could not be computed: the check is left out.
    bool refused = false;
    TimberResult timber;
    SteelResult steel;
    std::vector<NamedValue> actionValues;   // γ, ψ and load-duration classes
};

// The unit lines of every action on every region (see eurocode/search.h).
// `refused` when one unit case is refused by the analysis.
UnitLines FormUnitLines(const ProjectTexts &texts, int pointLoadAction, bool &refused);

// The factors of the actions for the imposed category and snow altitude.
ActionSet ResolveActions(Lookup &lookup, QChar category, bool snowHigh, std::vector<NamedValue> &used);

// The unit lines with M, V and EI·w prepared for the search once, for
// both checks and the envelopes.
struct PreparedLines
{
    PreparedLines() = default;
    explicit PreparedLines(UnitLines unitLines);
    UnitLines lines;
    PreparedQuantity M, V, W;
};

TimberResult CheckTimber(const PreparedLines &lines, const ActionSet &actions, const Data &data, Lookup &lookup,
                         const CheckOptions &options);
SteelResult CheckSteel(const PreparedLines &lines, const ActionSet &actions, const Data &data, Lookup &lookup,
                       const CheckOptions &options);

// Everything: the lines once, then timber and steel as the options ask.
// The options' names must be known to `data` (the caller checks them).
// What a check worked from, for a caller that draws the envelopes too.
struct CheckBasis
{
    PreparedLines lines;
    ActionSet actions;
};

CheckResult RunCheck(const ProjectTexts &texts, const Data &data, const CheckOptions &options,
                     CheckBasis *basis = nullptr);

// Search limit of the timber height, mm.
constexpr int MaxTimberHeightMm = 3000;

} // namespace varno::ec
