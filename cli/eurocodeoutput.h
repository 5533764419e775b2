// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What varno-calc does with --eurocode: its options, the check of one
// computed file, the text block "Nachweise nach Eurocode" and the JSON
// object "eurocode".

#include "cli/calculation.h"
#include "eurocode/eccheck.h"
#include "eurocode/ecrun.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QList>
#include <QLocale>
#include <QStringList>

#include <array>
#include <optional>

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

// Reads the options; a German message on a usage error.
std::optional<QString> ReadEurocodeOptions(const QCommandLineParser &parser, EurocodeSettings &settings);

// The data of the check from the data folder. Problems come back as German
// lines naming file, line and value.
ec::Data ReadEurocodeData(const QString &directory, QStringList &problems);

// Names the settings use that the data does not know: a German message.
std::optional<QString> CheckEurocodeNames(const EurocodeSettings &settings, const ec::Data &data);

struct EurocodeRun
{
    bool done = false;
    int status = Computed;
    QStringList errors;                  // German; standard error
    ec::CheckResult result;
    QString timberGradeSource;           // the DIN grade the class was taken from, empty when given
    ec::Value timberMapping;             // the row of that mapping
    QString series;                      // IPE, HEA, HEB
    double bCm = 0;
    int pointLoadAction = ec::ActG;
    // What the check ran with: the options, for a Varno project file with
    // the file's settings where the options give none.
    EurocodeSettings settings;
    std::array<std::optional<double>, ec::LimitCount> limits;
};

EurocodeRun RunEurocode(const FileResult &file, const CalcOptions &options, const EurocodeSettings &settings,
                        const ec::Data &data);

inline const QString EurocodeHeading = QStringLiteral("Nachweise nach Eurocode");

QStringList EurocodeLines(const EurocodeRun &run, const QLocale &locale);
QJsonObject EurocodeJson(const EurocodeRun &run);

// The JSON line of a file with "eurocode" added as its last member.
QString WithEurocodeJson(const QString &objectLine, const QJsonObject &eurocode);

} // namespace varno::cli
