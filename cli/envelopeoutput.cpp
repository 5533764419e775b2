// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/envelopeoutput.h"

#include "cli/jsonwriter.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace varno::cli {

namespace {

void writeRange(JsonWriter &json, const ValueRange &r)
{
    json.beginObject();
    json.key(QLatin1StringView("max"));
    json.number(WithoutNegativeZero(r.max));
    json.key(QLatin1StringView("min"));
    json.number(WithoutNegativeZero(r.min));
    json.endObject();
}

QString rangeLine(const QString &label, const ValueRange &r, const QString &unit, const QLocale &locale)
{
    return label + QStringLiteral("min = ") + FormatFixed(r.min, 2, locale) + unit + QStringLiteral("  max = ")
        + FormatFixed(r.max, 2, locale) + unit;
}

} // namespace

void WriteEnvelopeJson(JsonWriter &json, const LoadEnvelope &envelope)
{
    // The quantities the system has, then in the order of their names.
    struct Member
    {
        const char *name;
        const ValueRange *range;     // min and max
    };
    std::vector<Member> members;
    for (int s = 0; s < envelope.supports(); ++s) {
        members.push_back({SupportMomentNames[s], &envelope.supportMoment[s]});
        members.push_back({ShearNames[2 * s], &envelope.shear[2 * s]});
        members.push_back({ShearNames[2 * s + 1], &envelope.shear[2 * s + 1]});
        members.push_back({SupportNames[s], &envelope.reaction[s]});
    }
    for (int j = 0; j < envelope.spans; ++j)
        members.push_back({SpanMomentNames[j], &envelope.spanMoment[j]});
    std::sort(members.begin(), members.end(),
              [](const Member &a, const Member &b) { return std::strcmp(a.name, b.name) < 0; });

    json.beginObject();
    for (const Member &member : members) {
        json.key(QLatin1StringView(member.name));
        writeRange(json, *member.range);
    }
    json.key(QLatin1StringView("patterns"));
    json.integer(LoadPatternCount);
    json.key(QLatin1StringView("switches"));
    json.integer(LoadSwitchCount);
    json.key(QLatin1StringView("uplift"));
    json.beginArray();
    for (int s = 0; s < envelope.supports(); ++s)
        if (envelope.uplift(s))
            json.string(QLatin1StringView(SupportNames[s]));
    json.endArray();
    json.endObject();
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
