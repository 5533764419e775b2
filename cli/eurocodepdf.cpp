// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/eurocodepdf.h"

namespace varno::cli {

EcReportInput EurocodeReportFor(const FileResult &file, const EurocodeRun &run, const EurocodeSettings &,
                                const ReportHeading &heading, const ec::Data &data, const QLocale &locale)
{
    // The settings the check ran with, those of a project file included.
    const EurocodeSettings &settings = run.settings;
    EcReportInput in;
    in.inputs.limits = run.limits;
    in.projectInfo = {heading.firma, heading.projekt, heading.position, QString(), QString()};
    in.systemTypeName = heading.systemTypeName;
    in.texts = file.texts;
    in.locale = locale;
    ec::CheckOptions &o = in.inputs.options;
    o.timber = run.result.timber.done;
    o.timberClass = run.result.timber.className;
    o.serviceClass = settings.serviceClass;
    o.bCm = run.bCm;
    o.hCm = settings.hCm;
    o.steel = run.result.steel.done;
    o.steelGrade = run.result.steel.grade;
    o.series = run.series;
    o.profile = settings.profile;
    o.imposedCategory = settings.imposedCategory;
    o.snowHigh = settings.snowHigh;
    o.pointLoadAction = settings.pointLoadAction;
    in.run = ec::RunEurocode(in.texts, data, in.inputs, true);
    return in;
}

} // namespace varno::cli
