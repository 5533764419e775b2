// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// varno-calc --span-table: instead of project files, a table of the largest
// spans of a list of sections under a list of load cases, for one, two and
// three equal spans (eurocode/spantable.h), written as text or JSON on
// standard output and, asked for, as a CSV file and a PDF document.

#include "cli/calculation.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

#include <optional>

namespace varno::cli {

// The options of the table, to add to the parser.
QList<QCommandLineOption> SpanTableOptions();

// An option of the table given without --span-table: a German message.
std::optional<QString> SpanTableOptionWithout(const QCommandLineParser &parser);

// Runs the table with the options already read by the caller (locale, data
// folder, series); writes its output and messages and returns the exit
// status: 0 every entry found, 1 an entry not found or the data damaged,
// 2 a usage error or an output that cannot be written.
int RunSpanTableCommand(const QCommandLineParser &parser, const CalcOptions &options);

} // namespace varno::cli
