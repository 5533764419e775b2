// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/ecrun.h"

#include <QRegularExpression>

namespace varno::ec {

std::optional<double> DataLimit(const Data &data, int index)
{
    const auto it = data.values.constFind(QLatin1String(LimitKeys[index]));
    if (it == data.values.constEnd())
        return std::nullopt;
    return it->value;
}

QString TimberClassOfGrade(const Data &data, int timberGrade)
{
    if (timberGrade < 0 || timberGrade >= TimberGradeCount)
        return {};
    const QString cls = data.ecClassOfGrade.value(texts::TimberGrades[timberGrade]);
    return data.timberClass(cls) ? cls : QString();
}

QString SteelGradeOfGrade(int steelGrade)
{
    if (steelGrade < 0 || steelGrade >= SteelGradeCount)
        return {};
    static const QRegularExpression grade(QStringLiteral("S\\d{3}"));
    return grade.match(texts::SteelGrades[steelGrade]).captured(0);
}

QString SeriesKey(const QString &seriesName)
{
    QString key = seriesName;
    key.remove(u'-');
    return key;
}

RunOutput RunEurocode(const ProjectTexts &texts, const Data &data, const RunInputs &inputs, bool envelopes)
{
    RunOutput out;
    const Data *used = &data;
    Data changed;
    for (int i = 0; i < LimitCount; ++i) {
        if (!inputs.limits[i])
            continue;
        const std::optional<double> fromFile = DataLimit(data, i);
        if (fromFile && *fromFile == *inputs.limits[i])
            continue;
        if (used == &data) {
            changed = data;
            used = &changed;
        }
        const QString key = QLatin1String(LimitKeys[i]);
        // A limit the user set stands behind no source of the data file.
        changed.values.insert(key, Value{*inputs.limits[i], key, false});
        out.limitChanged[i] = true;
    }
    // The unit lines are sampled once, for the check and the envelopes.
    CheckBasis basis;
    CheckResult &result = out.result;
    result = RunCheck(texts, *used, inputs.options, &basis);
    if (result.refused)
        return out;
    if (envelopes && result.problems.empty())
        out.envelopes = ComputeEnvelopes(basis.lines, basis.actions);
    if (const TimberClass *cls = used->timberClass(out.result.timber.className))
        out.timberE = cls->E0mean.value;
    if (const SteelGrade *grade = used->steelGrade(out.result.steel.grade))
        out.steelE = grade->E.value;
    if (const Profile *profile = used->profile(out.result.steel.profile))
        out.steelIy = profile->Iy;
    return out;
}

} // namespace varno::ec
