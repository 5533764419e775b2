// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/envelopeoutput.h"

#include <QJsonArray>

namespace varno::cli {

namespace {

QJsonObject range(const ValueRange &r)
{
    return QJsonObject{{QStringLiteral("min"), WithoutNegativeZero(r.min)},
                       {QStringLiteral("max"), WithoutNegativeZero(r.max)}};
}

QString rangeLine(const QString &label, const ValueRange &r, const QString &unit, const QLocale &locale)
{
    return label + QStringLiteral("min = ") + FormatFixed(r.min, 2, locale) + unit + QStringLiteral("  max = ")
        + FormatFixed(r.max, 2, locale) + unit;
}

} // namespace

QJsonObject EnvelopeJson(const LoadEnvelope &envelope)
{
    QJsonObject out{{QStringLiteral("patterns"), LoadPatternCount}, {QStringLiteral("switches"), LoadSwitchCount}};
    QJsonArray uplift;
    for (int s = 0; s < envelope.supports(); ++s) {
        out.insert(QLatin1String(SupportMomentNames[s]), range(envelope.supportMoment[s]));
        out.insert(QLatin1String(ShearNames[2 * s]), range(envelope.shear[2 * s]));
        out.insert(QLatin1String(ShearNames[2 * s + 1]), range(envelope.shear[2 * s + 1]));
        out.insert(QLatin1String(SupportNames[s]), range(envelope.reaction[s]));
        if (envelope.uplift(s))
            uplift.append(QLatin1String(SupportNames[s]));
    }
    for (int j = 0; j < envelope.spans; ++j)
        out.insert(QLatin1String(SpanMomentNames[j]), range(envelope.spanMoment[j]));
    out.insert(QStringLiteral("uplift"), uplift);
    return out;
}

QStringList EnvelopeLines(const LoadEnvelope &envelope, const QLocale &locale)
{
    const QString kNm = QStringLiteral("  kNm"), kN = QStringLiteral("  kN");
    QStringList lines{EnvelopeHeading};
    for (int s = 0; s < envelope.supports(); ++s)
        lines << rangeLine(QStringLiteral("Stützmoment  %1  ").arg(QLatin1String(SupportMomentNames[s])),
                           envelope.supportMoment[s], kNm, locale);
    for (int j = 0; j < envelope.spans; ++j)
        lines << rangeLine(QStringLiteral("Feldmoment   %1 ").arg(QLatin1String(SpanMomentNames[j])),
                           envelope.spanMoment[j], kNm, locale);
    for (int i = 0; i < 2 * envelope.supports(); ++i)
        lines << rangeLine(QStringLiteral("Querkraft  %1 ").arg(QLatin1String(ShearNames[i])), envelope.shear[i], kN,
                           locale);
    for (int s = 0; s < envelope.supports(); ++s)
        lines << rangeLine(QStringLiteral("Auflagerkraft  %1 ").arg(QLatin1String(SupportNames[s])),
                           envelope.reaction[s], kN, locale);
    return lines;
}

QStringList UpliftWarnings(const LoadEnvelope &envelope, const QLocale &locale)
{
    QStringList out;
    for (int s = 0; s < envelope.supports(); ++s)
        if (envelope.uplift(s))
            out << QStringLiteral("Abheben möglich am Auflager %1: kleinste Auflagerkraft %2 kN")
                       .arg(QLatin1String(SupportNames[s]), FormatFixed(envelope.reaction[s].min, 2, locale));
    return out;
}

} // namespace varno::cli
