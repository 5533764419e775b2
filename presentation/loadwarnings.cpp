// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/loadwarnings.h"

namespace varno {

QStringList InactiveLoadWarnings(const std::vector<InactivePointLoad> &loads, const QLocale &locale)
{
    // The region in the load's own sentence, as the object of "außerhalb",
    // and why it does not exist.
    struct Region
    {
        const char *in, *outside, *missing;
    };
    static const Region regions[RegionCount] = {
        {"in Feld 1", "von Feld 1", "das System hat kein Feld 1"},
        {"in Feld 2", "von Feld 2", "das System hat kein Feld 2"},
        {"in Feld 3", "von Feld 3", "das System hat kein Feld 3"},
        {"im linken Kragarm", "des linken Kragarms", "der linke Kragarm ist nicht vorhanden (Länge 0)"},
        {"im rechten Kragarm", "des rechten Kragarms", "der rechte Kragarm ist nicht vorhanden (Länge 0)"},
    };
    auto n2 = [&](double v) { return FormatFixed(v, 2, locale); };

    QStringList out;
    for (const InactivePointLoad &load : loads) {
        const Region &r = regions[load.region - 1];
        if (load.cause == InactiveCause::NoRegion)
            out << QStringLiteral("Die Einzellast Nr. %1 %2 (F = %3 kN, a = %4 m) wirkt nicht: %5.")
                       .arg(QString::number(load.row()), QString::fromUtf8(r.in), n2(load.F), n2(load.a),
                            QString::fromUtf8(r.missing));
        else
            out << QStringLiteral("Die Einzellast Nr. %1 %2 (F = %3 kN) steht mit a = %4 m außerhalb %5 "
                                  "(l = %6 m) und wirkt nicht.")
                       .arg(QString::number(load.row()), QString::fromUtf8(r.in), n2(load.F), n2(load.a),
                            QString::fromUtf8(r.outside), n2(load.length));
    }
    return out;
}

QStringList InactiveLoadWarnings(const AnalysisOutcome &outcome, const QLocale &locale)
{
    return InactiveLoadWarnings(outcome.inactive, locale);
}

QStringList InactiveLoadWarnings(const NumericBeam &beam, const QLocale &locale)
{
    return InactiveLoadWarnings(InactivePointLoads(beam), locale);
}

QStringList InactiveLoadWarnings(const ProjectTexts &texts, const QLocale &locale)
{
    return InactiveLoadWarnings(ReadBeam(texts), locale);
}

QStringList UpwardLoadWarnings(const AnalysisOutcome &outcome, const QLocale &locale)
{
    // Name, the region as the moment text names it, where x starts.
    struct Region
    {
        const char *name, *inside, *from;
    };
    static const Region regions[LineRegionCount] = {
        {"Feld 1", "im Feld", "vom linken Auflager"},
        {"Feld 2", "im Feld", "vom linken Auflager"},
        {"Feld 3", "im Feld", "vom linken Auflager"},
        {"Kragarm li", "im Kragarm", "vom freien Ende"},
        {"Kragarm re", "im Kragarm", "vom Auflager"},
    };
    auto kNm = [&](double v) { return FormatFixed(v, 2, locale) + QStringLiteral(" kNm"); };
    auto m = [&](double v) { return FormatFixed(v, 2, locale) + QStringLiteral(" m"); };

    QStringList out;
    for (const UpwardLoadRegion &u : outcome.upward) {
        const Region &r = regions[u.region];
        const LineExtremes &e = u.extremes;
        QString text = QStringLiteral("%1: Lasten nach oben – kleinstes Moment %2 %3 bei %4, größtes %5 bei %6 %7. "
                                      "Bemessen wird mit dem betragsgrößten Moment der Momentenlinie und der "
                                      "betragsgrößten Querkraft der Querkraftlinie.")
                           .arg(QString::fromUtf8(r.name), QString::fromUtf8(r.inside), kNm(e.Mmin), m(e.xMmin),
                                kNm(e.Mmax), m(e.xMmax), QString::fromUtf8(r.from));
        if (u.spanMomentBelowMax)
            text += QStringLiteral(" MF%1 = %2 ist nicht das größte Moment des Feldes.")
                        .arg(u.region + 1)
                        .arg(kNm(u.spanMoment));
        out << text;
    }
    return out;
}

} // namespace varno
