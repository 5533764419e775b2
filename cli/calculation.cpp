// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/calculation.h"

#include "analysis/resultquantities.h"
#include "cli/envelopeoutput.h"
#include "design/series.h"
#include "io/projectfile.h"
#include "presentation/loadwarnings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <utility>

namespace varno::cli {

namespace {

QString gradeRefusal(const QString &what, int position, int count)
{
    return QStringLiteral("Die %1 %2 liegt au\u00DFerhalb der Liste (0 bis %3).").arg(what).arg(position).arg(count - 1);
}

// The total downward load the analysis carries: the existing spans with
// their point loads, and both cantilevers, whose point loads count even at
// length 0.
double totalLoad(const ProjectTexts &texts, const ResultSet &r, int spans)
{
    const double lengths[RegionCount] = {r.L1, r.L2, r.L3, r.Lkl, r.Lkr};
    double load = 0;
    for (int region = Span1; region <= RightCantilever; ++region) {
        if (region <= Span3 && region > spans)
            continue;
        load += texts.uniformLoadSum(region) * lengths[region - 1];
        for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot)
            load += texts.pointForce(slot);
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
    DesignInputs inputs;
    inputs.widthText = options.widthText;
    inputs.timberValues = ReadTimberValues(materialPath, result.timberGrade);
    inputs.steelValues = ReadSteelValues(materialPath, result.steelGrade);
    inputs.profileTablePath = ProfileTablePath(options.dataDirectory);

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
        result.designValues = RunDesign(result.results, inputs, result.design, options.locale);
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
    run(options.spanLimitText, QString(), -1);
    run(options.spanLimitText, options.cantileverLimitText, -1);
    run(options.spanLimitText, options.cantileverLimitText, options.series);
    run(options.spanLimitText, options.cantileverLimitText, options.series);
    result.widthText = options.widthText;
}

// A negative zero is a zero to the reader of the numbers. The numbers that
// reach here are finite: the analysis refuses infinite results, a design
// that is not finite leaves its numbers out, and an infinite table value is
// skipped.
QJsonValue jsonNumber(double value)
{
    return WithoutNegativeZero(value);
}

QJsonArray jsonArray(const QStringList &texts)
{
    return QJsonArray::fromStringList(texts);
}

QJsonObject timberValues(const TimberDesign &timber)
{
    return {{QStringLiteral("WyRequired"), jsonNumber(timber.WyRequired)},
            {QStringLiteral("h"), jsonNumber(timber.h)},
            {QStringLiteral("b"), jsonNumber(timber.b)},
            {QStringLiteral("governs"), GovernsName(timber.governs)}};
}

// The requirement always; the profile, its utilisation and the criterion
// when a search chose one; the criterion alone when the series has none
// that carries.
QJsonObject steelValues(const SteelDesign &steel)
{
    QJsonObject values{{QStringLiteral("WyRequired"), jsonNumber(steel.WyRequired)},
                       {QStringLiteral("IyRequired"), jsonNumber(steel.IyRequired)},
                       {QStringLiteral("series"), SeriesAt(steel.series).key()}};
    if (steel.choice == ProfileChoice::Found) {
        values.insert(QStringLiteral("designation"), steel.designation.trimmed());
        // A table field beyond the double range reads as infinite and passes
        // every test; its number is left out rather than written as null.
        const std::pair<const char *, double> profile[] = {
            {"Wy", steel.Wy}, {"Iy", steel.Iy}, {"shearArea", steel.shearArea}};
        for (const auto &[key, value] : profile)
            if (std::isfinite(value))
                values.insert(QLatin1String(key), jsonNumber(value));
        values.insert(QStringLiteral("utilisation"),
                      QJsonObject{{QStringLiteral("bending"), jsonNumber(steel.utilisation.bending)},
                                  {QStringLiteral("shear"), jsonNumber(steel.utilisation.shear)},
                                  {QStringLiteral("deflection"), jsonNumber(steel.utilisation.deflection)}});
    }
    if (steel.choice == ProfileChoice::Found || steel.choice == ProfileChoice::NoneAdequate)
        values.insert(QStringLiteral("governs"), GovernsName(steel.governs));
    return values;
}

// The extremes of the exact lines of every span (F1..F3) and cantilever
// (Kl, Kr) the system has.
QJsonObject beamLinesJson(const BeamLines &lines)
{
    static const char *const names[LineRegionCount] = {"F1", "F2", "F3", "Kl", "Kr"};
    QJsonObject out;
    for (int region = 0; region < LineRegionCount; ++region) {
        const RegionLine &line = lines.region[std::size_t(region)];
        if (!line.exists)
            continue;
        const LineExtremes &e = line.extremes;
        const std::pair<const char *, double> values[] = {
            {"Mmax", e.Mmax},     {"xMmax", e.xMmax},     {"Mmin", e.Mmin},     {"xMmin", e.xMmin},
            {"Vmax", e.Vmax},     {"EIwMax", e.EIwMax},   {"xEIwMax", e.xEIwMax}, {"EIwMin", e.EIwMin},
            {"xEIwMin", e.xEIwMin}};
        QJsonObject entry;
        for (const auto &[key, value] : values)
            entry.insert(QLatin1String(key), jsonNumber(value));
        out.insert(QLatin1String(names[region]), entry);
    }
    return out;
}

} // namespace

FileResult CalculateFile(const QString &path, const CalcOptions &options)
{
    FileResult result;
    result.file = path;
    const ProjectFileValues values = ReadProjectFile(path);
    if (!values.ok) {
        result.status = UsageOrFileError;
        result.errors << values.error;
        return result;
    }
    result.texts = values.toProjectTexts();
    result.timberGrade = options.timberGrade.value_or(values.timberGrade);
    result.steelGrade = options.steelGrade.value_or(values.steelGrade);
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

    // A fresh program: the zero-shear positions start at 0.
    result.analysis = RunAnalysis(result.texts, result.results, Lines::Wanted);
    result.warnings = result.analysis.warnings;
    if (!result.analysis.refused)
        result.warnings << UpwardLoadWarnings(result.analysis, options.locale);
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
    result.load = totalLoad(result.texts, result.results, result.analysis.spans);
    result.reactions = reactionSum(result.results, result.analysis.spans);
    // The patterns run on copies of the texts: nothing of them reaches the
    // results above, the zero-shear positions included.
    LoadEnvelope envelope = RunEnvelope(result.texts);
    if (envelope.refused)
        result.envelopeError = envelope.refusal;
    else
        result.envelope = envelope;
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

QString JsonObject(const FileResult &result)
{
    QJsonObject object{{QStringLiteral("file"), result.file}, {QStringLiteral("status"), result.status}};
    if (!result.errors.isEmpty())
        object.insert(QStringLiteral("error"), result.errors.join(u'\n'));
    if (result.analysed) {
        const ResultSet &r = result.results;
        const QJsonObject system{{QStringLiteral("spans"), result.analysis.spans},
                                 {QStringLiteral("L1"), jsonNumber(r.L1)},
                                 {QStringLiteral("L2"), jsonNumber(r.L2)},
                                 {QStringLiteral("L3"), jsonNumber(r.L3)},
                                 {QStringLiteral("Lkl"), jsonNumber(r.Lkl)},
                                 {QStringLiteral("Lkr"), jsonNumber(r.Lkr)}};
        QJsonObject results;
        for (const ResultQuantity &q : ResultQuantities)
            results.insert(q.key(), jsonNumber(q.value(r)));
        const auto &d = result.designLabels;
        QJsonObject timber{{QStringLiteral("grade"), d[0]},
                           {QStringLiteral("Wy"), d[1]},
                           {QStringLiteral("h"), d[4]},
                           {QStringLiteral("b"), result.widthText},
                           {QStringLiteral("verdict"), d[9]}};
        if (result.designValues.timber.problem.isEmpty())
            timber.insert(QStringLiteral("values"), timberValues(result.designValues.timber));
        QJsonObject steel{{QStringLiteral("grade"), d[5]},
                          {QStringLiteral("Wy"), d[6]},
                          {QStringLiteral("profile"), d[8]},
                          {QStringLiteral("verdict"), d[10]}};
        if (result.designValues.steel.problem.isEmpty())
            steel.insert(QStringLiteral("values"), steelValues(result.designValues.steel));
        const QJsonObject design{{QStringLiteral("GoverningMoment"), jsonNumber(result.design.GoverningMoment)},
                                 {QStringLiteral("GoverningShear"), jsonNumber(result.design.GoverningShear)},
                                 {QStringLiteral("timber"), timber},
                                 {QStringLiteral("steel"), steel}};
        const QJsonObject equilibrium{{QStringLiteral("load"), jsonNumber(result.load)},
                                      {QStringLiteral("reactions"), jsonNumber(result.reactions)}};
        object.insert(QStringLiteral("system"), system);
        object.insert(QStringLiteral("results"), results);
        object.insert(QStringLiteral("design"), design);
        object.insert(QStringLiteral("equilibrium"), equilibrium);
        object.insert(QStringLiteral("lines"), jsonArray(OutputLines(result)));
        if (result.envelope)
            object.insert(QStringLiteral("envelope"), EnvelopeJson(*result.envelope));
        // Lines too large to be finite are left out rather than written as null.
        if (result.analysis.lines.valid)
            object.insert(QStringLiteral("beamLines"), beamLinesJson(result.analysis.lines));
    }
    object.insert(QStringLiteral("warnings"), jsonArray(result.warnings));
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
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
