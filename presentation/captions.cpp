// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/captions.h"

#include "analysis/resultquantities.h"
#include "model/projectmodel.h"

namespace varno {

namespace {

// The label and unit text of each result line, and the quantity it shows.
struct ResultLineLayout
{
    const char16_t *label;
    const char16_t *unit;
    std::string_view quantity;
};

constexpr ResultLineLayout Lines[ResultLineCount] = {
    {u"Stützmoment  MA  = ", u"  kNm", "MA"},   {u"Stützmoment  MB  = ", u"  kNm", "MB"},
    {u"Stützmoment  MC  = ", u"  kNm", "MC"},   {u"Stützmoment  MD  = ", u"  kNm", "MD"},
    {u"Feldmoment   MF1 = ", u"  kNm", "MF1"},  {u"Feldmoment   MF2 = ", u"  kNm", "MF2"},
    {u"Feldmoment   MF3 = ", u"  kNm", "MF3"},  {u"Querkraft  Ali = ", u"  kN", "Ali"},
    {u"Querkraft  Are = ", u"  kN", "Are"},     {u"Querkraft  Bli = ", u"  kN", "Bli"},
    {u"Querkraft  Bre = ", u"  kN", "Bre"},     {u"Querkraft  Cli = ", u"  kN", "Cli"},
    {u"Querkraft  Cre = ", u"  kN", "Cre"},     {u"Querkraft  Dli = ", u"  kN", "Dli"},
    {u"Querkraft  Dre = ", u"  kN", "Dre"},     {u"Auflagerkraft  A = ", u"  kN", "A"},
    {u"Auflagerkraft  B = ", u"  kN", "B"},     {u"Auflagerkraft  C = ", u"  kN", "C"},
    {u"Auflagerkraft  D = ", u"  kN", "D"},
};

// The table's quantity of each line, found once at compile time.
constexpr std::array<const ResultQuantity *, ResultLineCount> LineQuantities = [] {
    std::array<const ResultQuantity *, ResultLineCount> out{};
    for (int n = 0; n < ResultLineCount; ++n)
        out[n] = &Quantity(Lines[n].quantity);
    return out;
}();

const QString NoValue = QStringLiteral("---");
const QString NoProfileInSeries = QStringLiteral("kein Profil der Reihe ausreichend");

QString timberVerdict(Governs governs)
{
    switch (governs) {
    case Governs::Bending:
        return QStringLiteral("Holz:  Normalspannung maßgebend!");
    case Governs::Shear:
        return QStringLiteral("Holz:  Schubspannung maßgebend!");
    case Governs::Deflection:
        break;
    }
    return QStringLiteral("Holz:  Durchbiegung maßgebend!");
}

QString steelVerdict(Governs governs)
{
    switch (governs) {
    case Governs::Bending:
        return QStringLiteral("Stahl:  Normalspannung maßgebend!");
    case Governs::Shear:
        return QStringLiteral("Stahl:  Schubspannung maßgebend!");
    case Governs::Deflection:
        break;
    }
    return QStringLiteral("Stahl:  Durchbiegung maßgebend!");
}

QString wyText(double value, const QLocale &locale)
{
    return QStringLiteral("Wy erf =  ") + FormatFixed(value, 1, locale) + QStringLiteral(" cm3");
}

} // namespace

ResultLineTexts ResultLines(const ResultSet &r, int spans, const QLocale &locale)
{
    ResultLineTexts out;
    for (int n = 0; n < ResultLineCount; ++n) {
        out.lines[n] = QString::fromUtf16(Lines[n].label) + FormatFixed(LineQuantities[n]->value(r), 2, locale)
            + QString::fromUtf16(Lines[n].unit);
        out.visible[n] = LineQuantities[n]->inSystem(spans);
    }
    return out;
}

QString GovernsName(Governs governs)
{
    switch (governs) {
    case Governs::Bending:
        return QStringLiteral("bending");
    case Governs::Shear:
        return QStringLiteral("shear");
    case Governs::Deflection:
        break;
    }
    return QStringLiteral("deflection");
}

DesignTexts DesignCaptions(const DesignResult &design, const QLocale &locale)
{
    DesignTexts out;
    const TimberDesign &timber = design.timber;
    if (timber.problem.isEmpty()) {
        out.timberWy = wyText(timber.WyRequired, locale);
        out.timberHeight = QStringLiteral("h =  ") + FormatFixed(timber.h, 1, locale) + QStringLiteral("  cm");
        out.timberVerdict = timberVerdict(timber.governs);
    } else {
        out.timberWy = QStringLiteral("Wy erf =  ") + NoValue;
        out.timberHeight = QStringLiteral("h =  ") + NoValue;
        out.timberVerdict = QStringLiteral("Holz:  keine Bemessung möglich (%1)").arg(timber.problem);
    }

    const SteelDesign &steel = design.steel;
    const QString prefix = SeriesPrefix(steel.series);
    out.steelWy = steel.requirementKnown ? wyText(steel.WyRequired, locale) : QStringLiteral("Wy erf =  ") + NoValue;
    switch (steel.choice) {
    case ProfileChoice::None:
        out.steelProfile = prefix + NoValue;
        out.steelVerdict = QStringLiteral("Stahl:  keine Bemessung möglich (%1)").arg(steel.problem);
        break;
    case ProfileChoice::Kept:
        // The verdict keeps the text of the search that chose the profile.
        out.steelProfile = prefix + steel.designation;
        break;
    case ProfileChoice::Found:
        out.steelProfile = prefix + steel.designation;
        out.steelVerdict = steelVerdict(steel.governs);
        break;
    case ProfileChoice::NoneAdequate:
        out.steelProfile = prefix + NoProfileInSeries;
        out.steelVerdict = steelVerdict(steel.governs);
        break;
    }

    const QString &timberProblem = timber.problem;
    const QString &steelProblem = steel.problem;
    if (!timberProblem.isEmpty() && timberProblem == steelProblem)
        out.failure = QStringLiteral("Keine Bemessung möglich: %1.").arg(timberProblem);
    else {
        QStringList parts;
        if (!timberProblem.isEmpty())
            parts << QStringLiteral("Keine Holzbemessung möglich: %1.").arg(timberProblem);
        if (!steelProblem.isEmpty())
            parts << QStringLiteral("Keine Stahlbemessung möglich: %1.").arg(steelProblem);
        out.failure = parts.join(u'\n');
    }
    return out;
}

} // namespace varno
