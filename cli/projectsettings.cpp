// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/projectsettings.h"

#include "cli/nativefiles.h"
#include "cli/pictures.h"
#include "design/series.h"
#include "eurocode/ecdata.h"
#include "eurocode/ecrun.h"
#include "io/projectdocument.h"

#include <QRegularExpression>

#include <cmath>
#include <map>

#include <sys/stat.h>

namespace varno::cli {

namespace {

QString quoted(const QString &text)
{
    return QStringLiteral("\u201E%1\u201C").arg(ShownName(text));
}

// A number as the window "Nachweis nach Eurocode" reads its fields: typed
// whole and greater than zero.
std::optional<double> positive(const QString &text)
{
    if (!IsNumericText(text))
        return std::nullopt;
    const double value = LeadingNumber(text);
    if (!std::isfinite(value) || !(value > 0))
        return std::nullopt;
    return value;
}

QString notPositive(const QString &member)
{
    return QStringLiteral("%1 ist keine Zahl gr\u00F6\u00DFer Null.").arg(quoted(member));
}

} // namespace

bool IsPlainPositiveNumber(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!plain.match(text).hasMatch())
        return false;
    const double value = LeadingNumber(text);
    return std::isfinite(value) && value > 0;
}

QString ApplyProjectSettings(FileResult &result, const CalcOptions &options)
{
    ResultsInputs inputs = result.project->results;
    const struct
    {
        const char *option;
        const char *member;
        QString *text;
        const QString &given;
    } fields[] = {{"width", "resultsWindow.width", &inputs.width, options.widthText},
                  {"span-limit", "resultsWindow.spanLimit", &inputs.spanLimit, options.spanLimitText},
                  {"cantilever-limit", "resultsWindow.cantileverLimit", &inputs.cantileverLimit,
                   options.cantileverLimitText}};
    for (const auto &field : fields) {
        if (options.given.contains(QLatin1String(field.option))) {
            *field.text = field.given;
        } else if (!IsPlainPositiveNumber(field.text->trimmed())) {
            // The window computes with any text; varno-calc only with what
            // its options take.
            return QStringLiteral("%1 ist %2; varno-calc rechnet nur mit einer positiven Zahl wie 8.5 "
                                  "(--%3 gibt eine vor).")
                .arg(quoted(QLatin1String(field.member)), quoted(field.text->left(40)), QLatin1String(field.option));
        }
    }
    if (options.given.contains(QStringLiteral("series")))
        inputs.series = options.series;
    result.resultsInputs = inputs;
    return {};
}

ReportHeading HeadingFor(const FileResult &result, const ReportHeading &commandLine, const QSet<QString> &given)
{
    if (!result.project)
        return commandLine;
    ReportHeading heading = commandLine;
    const ProjectState &project = *result.project;
    if (!given.contains(QStringLiteral("firma")))
        heading.firma = project.info[0];
    if (!given.contains(QStringLiteral("projekt")))
        heading.projekt = project.info[1];
    if (!given.contains(QStringLiteral("position")))
        heading.position = project.info[2];
    if (!given.contains(QStringLiteral("beschreibung")))
        heading.beschreibung = project.info[3];
    if (!given.contains(QStringLiteral("bearbeiter")))
        heading.bearbeiter = project.info[4];
    if (!given.contains(QStringLiteral("system")))
        heading.systemTypeName = project.systemTypeName;
    return heading;
}

FileEurocode EurocodeForFile(const FileResult &result, const CalcOptions &options, const EurocodeSettings &commandLine,
                             const ec::Data &data)
{
    FileEurocode out;
    out.settings = commandLine;
    out.widthText = options.widthText;
    out.series = options.series;
    if (!result.project)
        return out;

    const EurocodeInputs &file = result.project->eurocode;
    auto fromFile = [&](const char *option) { return !options.given.contains(QLatin1String(option)); };
    EurocodeSettings &s = out.settings;
    // The names the file gives, to be checked against the data.
    EurocodeInputs names;
    if (fromFile("ec-class"))
        s.timberClass = names.timberClass = file.timberClass;
    if (fromFile("service-class"))
        s.serviceClass = file.serviceClass;
    if (fromFile("ec-height")) {
        s.heightText = file.height;
        s.hCm.reset();
        if (!file.height.trimmed().isEmpty()) {
            s.hCm = positive(file.height);
            if (!s.hCm)
                out.errors << notPositive(QStringLiteral("eurocode.height"));
        }
    }
    if (fromFile("ec-steel"))
        s.steelGrade = names.steelGrade = file.steelGrade;
    if (fromFile("ec-profile"))
        s.profile = names.profile = file.profile;
    if (fromFile("imposed-category"))
        s.imposedCategory = file.imposedCategory;
    if (fromFile("snow-altitude"))
        s.snowHigh = file.snowHigh;
    if (fromFile("point-loads"))
        s.pointLoadAction = file.pointLoadAction;
    if (fromFile("width")) {
        out.widthText = file.width;
        if (!positive(file.width))
            out.errors << notPositive(QStringLiteral("eurocode.width"));
    }
    if (fromFile("series"))
        out.series = file.series;
    for (int i = 0; i < ec::LimitCount; ++i) {
        if (!file.limits[i])
            continue;
        out.limits[i] = positive(*file.limits[i]);
        if (!out.limits[i])
            out.errors << notPositive(QStringLiteral("eurocode.limits.") + EurocodeLimitName(i));
    }
    names.series = out.series;
    if (const QString unknown = UnknownEurocodeName(names, data); !unknown.isEmpty())
        out.errors << unknown;
    return out;
}

ProjectState ProjectStateFor(const FileResult &result, const ReportHeading &heading,
                             const EurocodeSettings &commandLine, const QSet<QString> &given, const ec::Data &data)
{
    ProjectState state = result.project ? *result.project : ProjectState::Defaults();
    state.texts = result.texts;
    state.results = result.resultsInputs;
    state.info[0] = heading.firma;
    state.info[1] = heading.projekt;
    state.info[2] = heading.position;
    state.info[3] = heading.beschreibung;
    state.info[4] = heading.bearbeiter;
    state.systemTypeName = heading.systemTypeName;
    EurocodeInputs &e = state.eurocode;
    auto named = [&](const char *option) { return given.contains(QLatin1String(option)); };
    if (named("ec-class"))
        e.timberClass = commandLine.timberClass;
    if (named("service-class"))
        e.serviceClass = commandLine.serviceClass;
    if (named("ec-height"))
        e.height = commandLine.heightText;
    if (named("ec-steel"))
        e.steelGrade = commandLine.steelGrade;
    if (named("ec-profile"))
        e.profile = commandLine.profile;
    if (named("imposed-category"))
        e.imposedCategory = commandLine.imposedCategory;
    if (named("snow-altitude"))
        e.snowHigh = commandLine.snowHigh;
    if (named("point-loads"))
        e.pointLoadAction = commandLine.pointLoadAction;
    // varno-calc checks with the width and the series of the design.
    if (named("width"))
        e.width = result.resultsInputs.width;
    if (named("series"))
        e.series = result.resultsInputs.series;
    if (named("ec-profile"))
        if (const ec::Profile *profile = data.profile(commandLine.profile))
            for (const SteelSeries &series : SteelSeriesTable)
                if (ec::SeriesKey(QString(series.key())) == profile->series)
                    e.series = series.position;
    return state;
}

std::optional<QString> ProjectSaver::prepare(const QString &out, const QStringList &files, RunFiles &runFiles)
{
    m_active = true;
    m_out = out;
    if (out.isEmpty())
        return QStringLiteral("--save-project erwartet eine Datei DATEI.varno oder einen Ordner");
    struct stat info;
    const bool exists = ::stat(NativeName(out).constData(), &info) == 0;
    m_folder = exists && S_ISDIR(info.st_mode);
    if (m_folder) {
        // One NAME.varno per project file: two of the same name, or one
        // that would land on an input, are refused before anything is done.
        std::map<QString, QString> firstOfName;
        for (const QString &file : files) {
            const auto [at, isNew] = firstOfName.try_emplace(PictureBaseName(file), file);
            if (!isNew)
                return QStringLiteral("%1 und %2 erg\u00E4ben dieselbe Projektdatei %3; es wird nichts geschrieben")
                    .arg(quoted(at->second), quoted(file), quoted(targetFor(file)));
            if (const std::optional<QString> refused =
                    runFiles.claimOutput(QStringLiteral("--save-project"), targetFor(file), OutputKind::File))
                return refused;
        }
        return std::nullopt;
    }
    if (files.size() > 1)
        return QStringLiteral("--save-project %1 nimmt das Projekt einer Datei auf; f\u00FCr mehrere Dateien geben Sie "
                              "einen Ordner an")
            .arg(quoted(out));
    if (const std::optional<QString> refused =
            runFiles.claimOutput(QStringLiteral("--save-project"), out, OutputKind::File))
        return refused;
    if (exists && !S_ISREG(info.st_mode) && !S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode))
        return QStringLiteral("--save-project %1 ist keine gew\u00F6hnliche Datei").arg(quoted(out));
    if ((!exists || S_ISREG(info.st_mode)) && !out.endsWith(u'.' + ProjectDocumentSuffix, Qt::CaseInsensitive))
        return QStringLiteral("--save-project erwartet eine Datei, deren Name auf .varno endet, oder einen Ordner, "
                              "nicht %1")
            .arg(quoted(out));
    return std::nullopt;
}

QString ProjectSaver::targetFor(const QString &file) const
{
    if (!m_folder)
        return m_out;
    return m_out + u'/' + PictureBaseName(file) + u'.' + ProjectDocumentSuffix;
}

std::optional<QString> ProjectSaver::write(const FileResult &result, const ReportHeading &heading,
                                           const EurocodeSettings &commandLine, const QSet<QString> &given,
                                           const ec::Data &data, const RunFiles &runFiles) const
{
    if (!result.read)
        return QStringLiteral("kein Projekt gespeichert, die Datei wurde nicht gelesen");
    QString fault;
    const QByteArray bytes = ProjectDocumentBytes(ProjectStateFor(result, heading, commandLine, given, data), &fault);
    const QString target = targetFor(result.path);
    if (bytes.isEmpty())
        return QStringLiteral("Das Projekt kann nicht als %1 gespeichert werden: %2").arg(quoted(target), fault);
    QString reason;
    if (!runFiles.write(target, bytes, &reason))
        return QStringLiteral("Das Projekt kann nicht als %1 gespeichert werden (%2).").arg(quoted(target), reason);
    return std::nullopt;
}

} // namespace varno::cli
