// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a Varno project file brings to varno-calc: every setting it holds is
// used, and an option named on the command line stands in its place. And
// --save-project, which writes a Varno project file of what was read (a
// .lof or a Varno project file) with the options given.

#include "cli/calculation.h"
#include "cli/eurocodeoutput.h"
#include "cli/runfiles.h"
#include "model/projectstate.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace varno::cli {

// A width or a limit as varno-calc computes with it: a plain positive
// decimal such as 8.5 or 300.
bool IsPlainPositiveNumber(const QString &text);

// Takes the design inputs of the results window from the file's project
// unless the command line names them. A German message when one of them
// is no plain positive decimal.
QString ApplyProjectSettings(FileResult &result, const CalcOptions &options);

// The heading of one file's report: the project information and the
// system name of a Varno project file where the command line gives none.
ReportHeading HeadingFor(const FileResult &result, const ReportHeading &commandLine, const QSet<QString> &given);

// The settings of one file's Eurocode check: those of the command line, for
// a Varno project file those of the file where the command line gives none,
// with the width b, the series and the deflection limits.
struct FileEurocode
{
    EurocodeSettings settings;
    QString widthText;
    int series = 1;
    std::array<std::optional<double>, ec::LimitCount> limits;
    QStringList errors;                  // German, naming the member of the file
};
FileEurocode EurocodeForFile(const FileResult &result, const CalcOptions &options, const EurocodeSettings &commandLine,
                             const ec::Data &data);

// The project a file read with the options given makes: its texts and
// grades, the design inputs, the heading, and the Eurocode inputs of the
// file with the options given for the check. A profile given brings its
// series along (`data` names it), as the window lists a series' profiles.
ProjectState ProjectStateFor(const FileResult &result, const ReportHeading &heading,
                             const EurocodeSettings &commandLine, const QSet<QString> &given, const ec::Data &data);

// --save-project OUT: a file OUT.varno for one project file, or a folder
// that takes NAME.varno for each.
class ProjectSaver
{
public:
    // Checks OUT before anything is computed: a usage error as a German
    // message. Every target is claimed in `runFiles`, so that it replaces
    // no input and no other output of the run.
    std::optional<QString> prepare(const QString &out, const QStringList &files, RunFiles &runFiles);
    bool active() const { return m_active; }
    QString targetFor(const QString &file) const;
    // Writes the file's project; a German message when it cannot.
    std::optional<QString> write(const FileResult &result, const ReportHeading &heading,
                                 const EurocodeSettings &commandLine, const QSet<QString> &given,
                                 const ec::Data &data, const RunFiles &runFiles) const;

private:
    bool m_active = false;
    QString m_out;
    bool m_folder = false;
};

} // namespace varno::cli
