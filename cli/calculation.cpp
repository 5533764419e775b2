// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/calculation.h"

#include "analysis/resultquantities.h"
#include "cli/envelopeoutput.h"
#include "cli/jsonwriter.h"
#include "cli/nativefiles.h"
#include "cli/projectsettings.h"
#include "design/series.h"
#include "io/projectdocument.h"
#include "io/projectfile.h"
#include "presentation/loadwarnings.h"


#include <algorithm>
#include <cmath>
#include <utility>

namespace varno::cli {

namespace {

QString gradeRefusal(const QString &what, int position, int count)
{
    return QStringLiteral("Die %1 %2 liegt au\u00DFerhalb der Liste (0 bis %3).").arg(what).arg(position).arg(count - 1);
}

// The total downward load the analysis carries: the existing spans and
// cantilevers with the point loads that act.
double totalLoad(const NumericBeam &beam, const ResultSet &r, int spans,
                 const std::vector<InactivePointLoad> &inactive)
{
    const double lengths[RegionCount] = {r.L1, r.L2, r.L3, r.Lkl, r.Lkr};
    bool acts[PointLoadSlotCount];
    std::fill(std::begin(acts), std::end(acts), true);
    for (const InactivePointLoad &load : inactive)
        acts[load.slot] = false;
    double load = 0;
    for (int region = Span1; region <= RightCantilever; ++region) {
        if (region <= Span3 && region > spans)
            continue;
        load += beam.uniformSum(region) * lengths[region - 1];
        for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot)
            if (acts[slot])
                load += beam.point[std::size_t(slot)].F;
    }
    return load;
}

double reactionSum(const ResultSet &r, int spans)
{
    double sum = r.A() + r.B();
    if (spans >= 2)
        sum += r.C();
    if (spans >= 3)
        sum += r.D();
    return sum;
}

// The design runs of one results window, in the order the program starts
// them: the three field assignments of its creation while the series list
// has no selection yet (the width first, the limit fields still empty), the
// series selection, then the analysis's own run. A text a run does not
// write keeps the caption of the run before; each distinct failure counts
// once.
void runDesigns(FileResult &result, const CalcOptions &options)
{
    const QString materialPath = MaterialTablePath(options.dataDirectory);
    const ResultsInputs &design = result.resultsInputs;
    DesignInputs inputs;
    inputs.widthText = design.width;
    inputs.timberValues = ReadTimberValues(materialPath, result.timberGrade);
    inputs.steelValues = ReadSteelValues(materialPath, result.steelGrade);
    inputs.profileTablePath = ProfileTablePath(options.dataDirectory);
    // The window reads the profile table on every run; within one file it
    // does not change, so it is read once.
    const ProfileTable profileTable = ReadProfileTable(inputs.profileTablePath);

    auto &labels = result.designLabels;
    labels[0] = TimberGradeCaption(result.timberGrade);
    labels[2] = QStringLiteral("b = ");
    labels[3] = QStringLiteral("cm");
    labels[5] = SteelGradeCaption(result.steelGrade);
    labels[7] = QStringLiteral("Profil");

    auto run = [&](const QString &spanLimit, const QString &cantileverLimit, int series) {
        inputs.spanLimitText = spanLimit;
        inputs.cantileverLimitText = cantileverLimit;
        inputs.series = series;
        result.designValues = RunDesign(result.results, inputs, profileTable, result.design, options.locale);
        const DesignTexts outcome = DesignCaptions(result.designValues, options.locale);
        const std::pair<int, const std::optional<QString> *> written[] = {
            {1, &outcome.timberWy},     {4, &outcome.timberHeight}, {6, &outcome.steelWy},
            {8, &outcome.steelProfile}, {9, &outcome.timberVerdict}, {10, &outcome.steelVerdict}};
        for (const auto &[item, text] : written)
            if (*text)
                labels[item] = **text;
        if (!outcome.failure.isEmpty() && !result.errors.contains(outcome.failure))
            result.errors << outcome.failure;
    };
    run(QString(), QString(), -1);
    run(design.spanLimit, QString(), -1);
    run(design.spanLimit, design.cantileverLimit, -1);
    run(design.spanLimit, design.cantileverLimit, design.series);
    run(design.spanLimit, design.cantileverLimit, design.series);
    result.widthText = design.width;
}

// A negative zero is a zero to the reader of the numbers. The numbers that
// reach here are finite: the analysis refuses infinite results, a design
// that is not finite leaves its numbers out, and an infinite table value is
// skipped.
double jsonNumber(double value)
{
    return WithoutNegativeZero(value);
}

void writeNumber(JsonWriter &json, const char *key, double value)
{
    json.key(QLatin1StringView(key));
    json.number(jsonNumber(value));
}

void writeString(JsonWriter &json, const char *key, const QString &text)
{
    json.key(QLatin1StringView(key));
    json.string(text);
}

void writeTimberValues(JsonWriter &json, const TimberDesign &timber)
{
    json.beginObject();
    writeNumber(json, "WyRequired", timber.WyRequired);
    writeNumber(json, "b", timber.b);
    writeString(json, "governs", GovernsName(timber.governs));
    writeNumber(json, "h", timber.h);
    json.endObject();
}

// The requirement always; the profile, its utilisation and the criterion
// when a search chose one; the criterion alone when the series has none
// that carries.
void writeSteelValues(JsonWriter &json, const SteelDesign &steel)
{
    const bool found = steel.choice == ProfileChoice::Found;
    // A table field beyond the double range reads as infinite and passes
    // every test; its number is left out rather than written as null.
    auto profileNumber = [&](const char *key, double value) {
        if (found && std::isfinite(value))
            writeNumber(json, key, value);
    };
    json.beginObject();
    profileNumber("Iy", steel.Iy);
    writeNumber(json, "IyRequired", steel.IyRequired);
    profileNumber("Wy", steel.Wy);
    writeNumber(json, "WyRequired", steel.WyRequired);
    if (found)
        writeString(json, "designation", steel.designation.trimmed());
    if (found || steel.choice == ProfileChoice::NoneAdequate)
        writeString(json, "governs", GovernsName(steel.governs));
    writeString(json, "series", QString(SeriesAt(steel.series).key()));
    profileNumber("shearArea", steel.shearArea);
    if (found) {
        json.key(QLatin1StringView("utilisation"));
        json.beginObject();
        writeNumber(json, "bending", steel.utilisation.bending);
        writeNumber(json, "deflection", steel.utilisation.deflection);
        writeNumber(json, "shear", steel.utilisation.shear);
        json.endObject();
    }
    json.endObject();
}

void writeDesign(JsonWriter &json, const FileResult &result)
{
    const auto &d = result.designLabels;
    json.beginObject();
    writeNumber(json, "GoverningMoment", result.design.GoverningMoment);
    writeNumber(json, "GoverningShear", result.design.GoverningShear);
    json.key(QLatin1StringView("steel"));
    json.beginObject();
    writeString(json, "Wy", d[6]);
    writeString(json, "grade", d[5]);
    writeString(json, "profile", d[8]);
    if (result.designValues.steel.problem.isEmpty()) {
        json.key(QLatin1StringView("values"));
        writeSteelValues(json, result.designValues.steel);
    }
    writeString(json, "verdict", d[10]);
    json.endObject();
    json.key(QLatin1StringView("timber"));
    json.beginObject();
    writeString(json, "Wy", d[1]);
    writeString(json, "b", result.widthText);
    writeString(json, "grade", d[0]);
    writeString(json, "h", d[4]);
    if (result.designValues.timber.problem.isEmpty()) {
        json.key(QLatin1StringView("values"));
        writeTimberValues(json, result.designValues.timber);
    }
    writeString(json, "verdict", d[9]);
    json.endObject();
    json.endObject();
}

void writeResults(JsonWriter &json, const ResultSet &r)
{
    static const std::vector<int> order = [] {
        std::vector<const char *> names;
        for (const ResultQuantity &q : ResultQuantities)
            names.push_back(q.name.data());
        return NameOrder(names);
    }();
    json.beginObject();
    for (const int i : order)
        writeNumber(json, ResultQuantities[i].name.data(), ResultQuantities[i].value(r));
    json.endObject();
}

// The extremes of the exact lines of every span (F1..F3) and cantilever
// (Kl, Kr) the system has.
void writeBeamLines(JsonWriter &json, const BeamLines &lines)
{
    static const char *const regions[LineRegionCount] = {"F1", "F2", "F3", "Kl", "Kr"};
    static const char *const names[] = {"Mmax", "xMmax", "Mmin", "xMmin", "Vmax",
                                        "EIwMax", "xEIwMax", "EIwMin", "xEIwMin"};
    static const std::vector<int> order = NameOrder(std::vector<const char *>(std::begin(names), std::end(names)));
    json.beginObject();
    for (int region = 0; region < LineRegionCount; ++region) {
        const RegionLine &line = lines.region[std::size_t(region)];
        if (!line.exists)
            continue;
        const LineExtremes &e = line.extremes;
        const double values[] = {e.Mmax, e.xMmax, e.Mmin, e.xMmin, e.Vmax, e.EIwMax, e.xEIwMax, e.EIwMin, e.xEIwMin};
        json.key(QLatin1StringView(regions[region]));
        json.beginObject();
        for (const int i : order)
            writeNumber(json, names[i], values[i]);
        json.endObject();
    }
    json.endObject();
}

} // namespace

FileResult CalculateFile(const QString &path, const CalcOptions &options)
{
    FileResult result;
    result.path = path;
    result.file = ShownName(path);
    int readError = 0;
    QByteArray contents = ReadAtMost(path, ProjectFileReadLimit, &readError);
    if (readError != 0) {
        result.status = UsageOrFileError;
        result.errors << QStringLiteral("Die Datei \u201E%1\u201C kann nicht gelesen werden (%2).")
                             .arg(result.file, SystemErrorText(readError));
        return result;
    }
    result.resultsInputs = {options.widthText, options.spanLimitText, options.cantileverLimitText, options.series};
    int fileTimberGrade = 0;
    int fileSteelGrade = 0;
    if (IsProjectDocument(path, contents)) {
        const ProjectDocument document = ParseProjectDocument(contents);
        QString error = document.error;
        if (document.ok) {
            result.project = document.state;
            error = ApplyProjectSettings(result, options);
        }
        if (!error.isEmpty()) {
            result.status = UsageOrFileError;
            result.errors << QStringLiteral("\u201E%1\u201C: %2").arg(result.file, error);
            return result;
        }
        if (!document.ignored.isEmpty())
            result.warnings << QStringLiteral("Die Datei stammt aus einer neueren Programmversion; ausgelassen: %1")
                                   .arg(document.ignored.join(QStringLiteral(", ")));
        result.texts = document.state.texts;
        fileTimberGrade = document.state.texts.timberGrade;
        fileSteelGrade = document.state.texts.steelGrade;
    } else {
        // A foreign file chosen by mistake is read no further than a project
        // file can reach.
        contents.truncate(ProjectFileReadLimit);
        const ProjectFileValues values = ParseProjectFile(contents);
        if (!values.ok) {
            result.status = UsageOrFileError;
            result.errors << QStringLiteral("\u201E%1\u201C: %2").arg(result.file, values.error);
            return result;
        }
        result.texts = values.toProjectTexts();
        fileTimberGrade = values.timberGrade;
        fileSteelGrade = values.steelGrade;
    }
    result.timberGrade = options.timberGrade.value_or(fileTimberGrade);
    result.steelGrade = options.steelGrade.value_or(fileSteelGrade);
    if (result.timberGrade < 0 || result.timberGrade >= TimberGradeCount)
        result.errors << gradeRefusal(QStringLiteral("Holzsorte"), result.timberGrade, TimberGradeCount);
    if (result.steelGrade < 0 || result.steelGrade >= SteelGradeCount)
        result.errors << gradeRefusal(QStringLiteral("Stahlsorte"), result.steelGrade, SteelGradeCount);
    if (!result.errors.isEmpty()) {
        result.status = Refused;
        return result;
    }
    result.texts.timberGrade = result.timberGrade;
    result.texts.steelGrade = result.steelGrade;
    result.read = true;
    // The one reading step makes the beam of either kind of file from its
    // texts, as the windows do.
    result.beam = ReadBeam(result.texts);

    // A fresh program: the zero-shear positions start at 0.
    result.analysis = RunAnalysis(result.beam, result.results, Lines::Wanted);
    result.warnings = result.analysis.warnings;
    if (!result.analysis.refused)
        result.warnings << InactiveLoadWarnings(result.analysis, options.locale)
                        << UpwardLoadWarnings(result.analysis, options.locale);
    if (result.analysis.refused) {
        result.status = Refused;
        result.errors << result.analysis.refusal;
        return result;
    }
    result.analysed = true;
    result.lines = ResultLines(result.results, result.analysis.spans, options.locale);
    runDesigns(result, options);
    if (!result.errors.isEmpty())
        result.status = Refused;
    result.load = totalLoad(result.beam, result.results, result.analysis.spans, result.analysis.inactive);
    result.reactions = reactionSum(result.results, result.analysis.spans);
    // Each result is finite, but the sums of loads near the largest double
    // may not be: the file is refused as one whose results would be.
    if (!std::isfinite(result.load) || !std::isfinite(result.reactions)) {
        result.analysed = false;
        result.status = Refused;
        result.errors << QStringLiteral("Die Summe der Lasten oder der Auflagerkr\u00E4fte liegt au\u00DFerhalb des "
                                        "Zahlenbereichs; die Datei wird nicht berechnet.");
        return result;
    }
    // The patterns run on beams of their own: nothing of them reaches the
    // results above, the zero-shear positions included. The JSON promises
    // the envelope, so a missing one is an error of the file.
    LoadEnvelope envelope = RunEnvelope(result.beam);
    if (envelope.refused) {
        result.envelopeError = envelope.refusal;
        result.errors << result.envelopeError;
        result.status = std::max<int>(result.status, Refused);
    } else {
        result.envelope = envelope;
    }
    return result;
}

QStringList OutputLines(const FileResult &result)
{
    QStringList lines;
    if (!result.analysed)
        return lines;
    for (int i = 0; i < ResultLineCount; ++i)
        if (result.lines.visible[i])
            lines << result.lines.lines[i];
    const auto &d = result.designLabels;
    lines << d[0] << d[1] << QStringLiteral("b = ") + result.widthText + QStringLiteral(" cm") << d[4] << d[9];
    lines << d[5] << d[6] << d[8] << d[10];
    return lines;
}

QByteArray JsonObject(const FileResult &result)
{
    // The members in the order of their names.
    JsonWriter json;
    json.beginObject();
    if (result.analysed) {
        // Lines too large to be finite are left out rather than written as null.
        if (result.analysis.lines.valid) {
            json.key(QLatin1StringView("beamLines"));
            writeBeamLines(json, result.analysis.lines);
        }
        json.key(QLatin1StringView("design"));
        writeDesign(json, result);
        if (result.envelope) {
            json.key(QLatin1StringView("envelope"));
            WriteEnvelopeJson(json, *result.envelope);
        }
        json.key(QLatin1StringView("equilibrium"));
        json.beginObject();
        writeNumber(json, "load", result.load);
        writeNumber(json, "reactions", result.reactions);
        json.endObject();
    }
    if (!result.errors.isEmpty())
        writeString(json, "error", result.errors.join(u'\n'));
    writeString(json, "file", result.file);
    if (result.analysed) {
        json.key(QLatin1StringView("lines"));
        json.strings(OutputLines(result));
        json.key(QLatin1StringView("results"));
        writeResults(json, result.results);
    }
    json.key(QLatin1StringView("status"));
    json.integer(result.status);
    if (result.analysed) {
        const ResultSet &r = result.results;
        json.key(QLatin1StringView("system"));
        json.beginObject();
        writeNumber(json, "L1", r.L1);
        writeNumber(json, "L2", r.L2);
        writeNumber(json, "L3", r.L3);
        writeNumber(json, "Lkl", r.Lkl);
        writeNumber(json, "Lkr", r.Lkr);
        json.key(QLatin1StringView("spans"));
        json.integer(result.analysis.spans);
        json.endObject();
    }
    json.key(QLatin1StringView("warnings"));
    json.strings(result.warnings);
    json.endObject();
    return std::move(json.bytes());
}

ReportTexts ReportFor(const FileResult &result, const ReportHeading &heading, const QLocale &locale)
{
    ReportTexts report;
    report.firma = heading.firma;
    report.projekt = heading.projekt;
    report.position = heading.position;
    report.systemTypeName = heading.systemTypeName;
    report.lengths = result.texts.lengths;
    for (int i = 0; i < ResultLineCount; ++i)
        if (result.lines.visible[i])
            report.results[i] = result.lines.lines[i];
    report.design = result.designLabels;
    report.width = result.widthText;
    report.locale = locale;
    return report;
}

} // namespace varno::cli
