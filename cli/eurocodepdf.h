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

// The report of one file from the check already made (with its envelopes).
// The heading holds what --firma, --projekt, --position, --beschreibung,
// --bearbeiter and --system gave (or a Varno project file), nothing else.
EcReportInput EurocodeReportFor(const FileResult &file, const EurocodeRun &run, const ReportHeading &heading);

} // namespace varno::cli
