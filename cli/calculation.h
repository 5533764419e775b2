// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One project file computed the way a freshly started program computes it
// after opening that file: analysis, then the design runs of a new results
// window, then the analysis's own design run.

#include "analysis/analysis.h"
#include "analysis/envelope.h"
#include "analysis/resultset.h"
#include "model/numericbeam.h"
#include "model/projectmodel.h"
#include "model/projectstate.h"
#include "design/design.h"
#include "io/report.h"
#include "presentation/captions.h"

#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace varno::cli {

// Exit statuses; with several files the highest one is returned.
enum Status { Computed = 0, Refused = 1, UsageOrFileError = 2 };

struct CalcOptions
{
    QString widthText = QStringLiteral("8.0");
    QString spanLimitText = QStringLiteral("300");
    QString cantileverLimitText = QStringLiteral("150");
    int series = 1;
    std::optional<int> timberGrade;    // default: the position stored in the file
    std::optional<int> steelGrade;
    QLocale locale;
    QString dataDirectory;
    // The options named on the command line: in a Varno project file they
    // stand in place of the file's own settings.
    QSet<QString> given;
};

struct FileResult
{
    QString path;                      // as given; its bytes kept (see nativefiles.h)
    QString file;                      // as shown in messages and the JSON
    int status = Computed;
    QStringList errors;                // German, one per cause; standard error
    QStringList warnings;              // the analysis's warnings
    bool analysed = false;             // results, design and lines are valid
    bool read = false;                 // the file was read and its grades are in their lists

    // A Varno project file: what it holds (`texts` and the settings below
    // are what was computed with, the options given taking precedence).
    std::optional<ProjectState> project;
    ResultsInputs resultsInputs;       // width, limits and series of the design

    ProjectTexts texts;
    NumericBeam beam;                  // the texts read, with the grades used
    int timberGrade = 0;
    int steelGrade = 0;
    AnalysisOutcome analysis;
    ResultSet results;
    ResultLineTexts lines;             // the 19 result lines in the chosen locale
    DesignState design;
    DesignResult designValues;         // the numbers of the last design run
    std::array<QString, ReportDesignCount> designLabels;   // Label7(0..10)
    QString widthText;

    double load = 0;                   // total downward load, kN
    double reactions = 0;              // sum of the support reactions, kN

    // The envelope of the variable loads; left out when a pattern could not
    // be computed (`envelopeError`, also one of the errors, says which).
    std::optional<LoadEnvelope> envelope;
    QString envelopeError;
};

FileResult CalculateFile(const QString &path, const CalcOptions &options);

// The visible result lines, then the design lines in the results window's
// order.
QStringList OutputLines(const FileResult &result);

// One JSON object on one line. The design's numbers come under
// design.timber.values and design.steel.values.
QByteArray JsonObject(const FileResult &result);

struct ReportHeading
{
    // A document to hand in: only what the options or the project file give,
    // nothing made up.
    QString firma;
    QString projekt;
    QString position;
    QString beschreibung;   // the report of the Eurocode check only, as the desktop's
    QString bearbeiter;
    QString systemTypeName;
};

ReportTexts ReportFor(const FileResult &result, const ReportHeading &heading, const QLocale &locale);

} // namespace varno::cli
