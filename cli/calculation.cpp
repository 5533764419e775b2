#include "cli/calculation.h"

#include "io/projectfile.h"

#include <charconv>
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
        const DesignOutcome outcome = RunDesign(result.results, inputs, result.design, options.locale);
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

// Doubles in their shortest form that reads back to the same value.
QString jsonNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("null");
    // A negative zero is a zero to the reader of the numbers.
    if (value == 0.0)
        value = 0.0;
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return QString::fromLatin1(buffer, end - buffer);
}

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

QString jsonArray(const QStringList &texts)
{
    QStringList items;
    for (const QString &text : texts)
        items << jsonString(text);
    return u'[' + items.join(u',') + u']';
}

// Members are written in the order given.
class JsonObjectWriter
{
public:
    JsonObjectWriter &raw(const char *key, const QString &json)
    {
        m_members << jsonString(QString::fromLatin1(key)) + u':' + json;
        return *this;
    }
    JsonObjectWriter &number(const char *key, double value) { return raw(key, jsonNumber(value)); }
    JsonObjectWriter &text(const char *key, const QString &value) { return raw(key, jsonString(value)); }
    QString str() const { return u'{' + m_members.join(u',') + u'}'; }

private:
    QStringList m_members;
};

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
    result.analysis = RunAnalysis(result.texts, result.results, options.locale);
    result.warnings = result.analysis.warnings;
    if (result.analysis.refused) {
        result.status = Refused;
        result.errors << result.analysis.refusal;
        return result;
    }
    result.analysed = true;
    runDesigns(result, options);
    if (!result.errors.isEmpty())
        result.status = Refused;
    result.load = totalLoad(result.texts, result.results, result.analysis.spans);
    result.reactions = reactionSum(result.results, result.analysis.spans);
    return result;
}

QStringList OutputLines(const FileResult &result)
{
    QStringList lines;
    if (!result.analysed)
        return lines;
    for (int i = 0; i < ResultLineCount; ++i)
        if (result.analysis.visible[i])
            lines << result.analysis.lines[i];
    const auto &d = result.designLabels;
    lines << d[0] << d[1] << QStringLiteral("b = ") + result.widthText + QStringLiteral(" cm") << d[4] << d[9];
    lines << d[5] << d[6] << d[8] << d[10];
    return lines;
}

QString JsonObject(const FileResult &result)
{
    JsonObjectWriter object;
    object.text("file", result.file).number("status", result.status);
    if (!result.errors.isEmpty())
        object.text("error", result.errors.join(u'\n'));
    if (result.analysed) {
        const ResultSet &r = result.results;
        JsonObjectWriter system;
        system.number("spans", result.analysis.spans)
            .number("L1", r.L1)
            .number("L2", r.L2)
            .number("L3", r.L3)
            .number("Lkl", r.Lkl)
            .number("Lkr", r.Lkr);
        JsonObjectWriter results;
        const std::pair<const char *, double> values[] = {
            {"MA", r.MA},       {"MB", r.MB},       {"MC", r.MC},       {"MD", r.MD},     {"MF1", r.MF1},
            {"MF2", r.MF2},     {"MF3", r.MF3},     {"xF1", r.xF1},     {"xF2", r.xF2},   {"xF3", r.xF3},
            {"Ali", r.Ali},     {"Are", r.Are},     {"Bli", r.Bli},     {"Bre", r.Bre},   {"Cli", r.Cli},
            {"Cre", r.Cre},     {"Dli", r.Dli},     {"Dre", r.Dre},     {"A", r.A()},     {"B", r.B()},
            {"C", r.C()},       {"D", r.D()},       {"EIf1", r.EIf1},   {"EIf2", r.EIf2}, {"EIf3", r.EIf3},
            {"EIwKl", r.EIwKl}, {"EIwKr", r.EIwKr}};
        for (const auto &[key, value] : values)
            results.number(key, value);
        const auto &d = result.designLabels;
        JsonObjectWriter timber;
        timber.text("grade", d[0]).text("Wy", d[1]).text("h", d[4]).text("b", result.widthText).text("verdict", d[9]);
        JsonObjectWriter steel;
        steel.text("grade", d[5]).text("Wy", d[6]).text("profile", d[8]).text("verdict", d[10]);
        JsonObjectWriter design;
        design.number("GoverningMoment", result.design.GoverningMoment)
            .number("GoverningShear", result.design.GoverningShear)
            .raw("timber", timber.str())
            .raw("steel", steel.str());
        JsonObjectWriter equilibrium;
        equilibrium.number("load", result.load).number("reactions", result.reactions);
        object.raw("system", system.str())
            .raw("results", results.str())
            .raw("design", design.str())
            .raw("equilibrium", equilibrium.str())
            .raw("lines", jsonArray(OutputLines(result)));
    }
    object.raw("warnings", jsonArray(result.warnings));
    return object.str();
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
        if (result.analysis.visible[i])
            report.results[i] = result.analysis.lines[i];
    report.design = result.designLabels;
    report.width = result.widthText;
    report.locale = locale;
    return report;
}

} // namespace varno::cli
