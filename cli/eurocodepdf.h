// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// varno-calc --eurocode --pdf: the report of the Eurocode check, the same
// pages the desktop program's "Nachweis drucken…" writes, one report per
// computed file.

#include "cli/calculation.h"
#include "cli/eurocodeoutput.h"
#include "io/ecreport.h"

namespace varno::cli {

// The report of one file whose check ran; the check is run again with the
// same options for the envelope diagrams, which gives the same numbers.
EcReportInput EurocodeReportFor(const FileResult &file, const EurocodeRun &run, const EurocodeSettings &settings,
                                const ReportHeading &heading, const ec::Data &data, const QLocale &locale);

} // namespace varno::cli
