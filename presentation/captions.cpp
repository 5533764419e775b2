// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/captions.h"

#include "app/model/projectmodel.h"

namespace varno {

namespace {

struct ResultLineLayout
{
    const char16_t *label;
    const char16_t *unit;
    int fromSpans;    // shown for this many spans and more
};

constexpr ResultLineLayout Lines[ResultLineCount] = {
    {u"Stützmoment  MA  = ", u"  kNm", 1}, {u"Stützmoment  MB  = ", u"  kNm", 1},
    {u"Stützmoment  MC  = ", u"  kNm", 2}, {u"Stützmoment  MD  = ", u"  kNm", 3},
    {u"Feldmoment   MF1 = ", u"  kNm", 1}, {u"Feldmoment   MF2 = ", u"  kNm", 2},
    {u"Feldmoment   MF3 = ", u"  kNm", 3}, {u"Querkraft  Ali = ", u"  kN", 1},
    {u"Querkraft  Are = ", u"  kN", 1},    {u"Querkraft  Bli = ", u"  kN", 1},
    {u"Querkraft  Bre = ", u"  kN", 1},    {u"Querkraft  Cli = ", u"  kN", 2},
    {u"Querkraft  Cre = ", u"  kN", 2},    {u"Querkraft  Dli = ", u"  kN", 3},
    {u"Querkraft  Dre = ", u"  kN", 3},    {u"Auflagerkraft  A = ", u"  kN", 1},
    {u"Auflagerkraft  B = ", u"  kN", 1},  {u"Auflagerkraft  C = ", u"  kN", 2},
    {u"Auflagerkraft  D = ", u"  kN", 3},
};

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
    const double values[ResultLineCount] = {r.MA,  r.MB,  r.MC,  r.MD,  r.MF1, r.MF2, r.MF3,
                                            r.Ali, r.Are, r.Bli, r.Bre, r.Cli, r.Cre, r.Dli,
                                            r.Dre, r.A(), r.B(), r.C(), r.D()};
    ResultLineTexts out;
    for (int n = 0; n < ResultLineCount; ++n) {
        out.lines[n] = QString::fromUtf16(Lines[n].label) + FormatFixed(values[n], 2, locale)
            + QString::fromUtf16(Lines[n].unit);
        out.visible[n] = spans >= Lines[n].fromSpans;
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
