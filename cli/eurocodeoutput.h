// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What varno-calc does with --eurocode: its options, the check of one
// computed file, and the JSON object "eurocode". The texts of the check
// come from its presentation (presentation/ecpresentation.h).

#include "cli/calculation.h"
#include "eurocode/eccheck.h"
#include "presentation/ecpresentation.h"
#include "eurocode/ecrun.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QList>
#include <QLocale>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace varno::cli {

struct EurocodeSettings
{
    bool enabled = false;
    QString timberClass;                 // empty: from the file's DIN grade
    int serviceClass = 1;
    std::optional<double> hCm;
    QString heightText;                  // h as given
    QString steelGrade;                  // empty: from the file's steel grade
    QString profile;                     // empty: sized in the series
    QChar imposedCategory = u'A';
    bool snowHigh = false;
    int pointLoadAction = ec::ActG;
};

// The options of the check, to add to the parser.
QList<QCommandLineOption> EurocodeOptions();

// Reads the options; a German message on a usage error. Every name is
// matched in one way: case, blanks and hyphens do not count ("c24",
// "HIGH", "ipe200").
std::optional<QString> ReadEurocodeOptions(const QCommandLineParser &parser, EurocodeSettings &settings);

// Puts the data's spelling of the class, grade and profile into the
// settings; a German message for a name the data does not know.
std::optional<QString> CheckEurocodeNames(EurocodeSettings &settings, const ec::Data &data);

// The width of --width as the check needs it; a German message when it
// lies outside the sizes the check accepts.
std::optional<QString> CheckEurocodeWidth(const QString &widthText);

struct EurocodeRun
{
    int status = Computed;               // Refused when the run must not be relied on
    QStringList errors;                  // German; standard error and the file's "error"
    EcRun run;
    EcPresentation presentation;         // in the locale of the output
};

// Checks one computed file once; `envelopes` for a report. The data's own
// problems (`dataProblems`) leave the check out.
EurocodeRun RunEurocode(const FileResult &file, const CalcOptions &options, const EurocodeSettings &settings,
                        const ec::Data &data, const std::vector<ec::DataProblem> &dataProblems, bool envelopes,
                        const QLocale &locale);

QJsonObject EurocodeJson(const EurocodeRun &run);

// The JSON line of a file with "eurocode" added as its last member.
QString WithEurocodeJson(const QString &objectLine, const QJsonObject &eurocode);

} // namespace varno::cli
