// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/loadwarnings.h"

namespace varno {

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
