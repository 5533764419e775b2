// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/eurocodepdf.h"

namespace varno::cli {

EcReportInput EurocodeReportFor(const FileResult &file, const EurocodeRun &run, const ReportHeading &heading)
{
    EcReportInput in;
    in.projectInfo = {heading.firma, heading.projekt, heading.position, heading.beschreibung, heading.bearbeiter};
    in.systemTypeName = heading.systemTypeName;
    in.texts = file.texts;
    in.run = run.run;
    return in;
}

} // namespace varno::cli
