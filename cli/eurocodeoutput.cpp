// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/eurocodeoutput.h"

#include "cli/projectsettings.h"
#include "design/series.h"
#include "presentation/ectexts.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace varno::cli {

using namespace varno::ec;

namespace {

const char *const ActionLetters[ActionCount] = {"G", "Q", "S", "W"};

// The one way names are matched: case, blanks and hyphens do not count.
QString nameKey(const QString &name)
{
    QString key = name.toCaseFolded();
    key.remove(u' ').remove(u'-');
    return key;
}

// The known spelling of a typed name, or nothing.
std::optional<QString> matchName(const QString &typed, const QStringList &known)
{
    const QString key = nameKey(typed);
    for (const QString &name : known)
        if (nameKey(name) == key)
            return name;
    return std::nullopt;
}

// A number for JSON: every number written is finite; the others are left out.
void insertFinite(QJsonObject &object, const QString &name, double value)
{
    if (std::isfinite(value))
        object.insert(name, WithoutNegativeZero(value));
}

QJsonObject factorsJson(const Combination &c)
{
    QJsonObject out;
    for (int a = 0; a < ActionCount; ++a) {
        if (!(c.actions & (1u << a)) || c.factor[a] == 0 || c.regionsOn[a] == 0)
            continue;
        QJsonArray regions;
        for (int r = 0; r < RegionCountEc; ++r)
            if (c.regionsOn[a] & (1u << r))
                regions.append(EcRegionKey(r));
        out.insert(QLatin1String(ActionLetters[a]),
                   QJsonObject{{QStringLiteral("factor"), c.factor[a]}, {QStringLiteral("regions"), regions}});
    }
    return out;
}

QJsonObject checkJson(const EcCheck &c, bool timber)
{
    QJsonObject out{{QStringLiteral("unit"), EcUnitText(c.unit)},
                    {QStringLiteral("region"), EcRegionKey(c.region)},
                    {QStringLiteral("combination"), c.combinationText},
                    {QStringLiteral("factors"), factorsJson(c.combination)},
                    {QStringLiteral("met"), c.met},
                    {QStringLiteral("verdict"), c.verdict},
                    {QStringLiteral("numbers"), c.numbers}};
    if (c.utilisation)
        out.insert(QStringLiteral("utilisation"), *c.utilisation);
    else
        out.insert(QStringLiteral("reason"), c.reason);
    insertFinite(out, QStringLiteral("design"), c.design);
    insertFinite(out, QStringLiteral("resistance"), c.resistance);
    insertFinite(out, QStringLiteral("x"), c.x);
    if (timber && c.kmod > 0)
        out.insert(QStringLiteral("kmod"), c.kmod);
    if (c.shear)
        insertFinite(out, QStringLiteral("shear"), *c.shear);
    if (c.unit == CheckUnit::Deflection)
        out.insert(QStringLiteral("upward"), c.upward);
    if (c.id == QLatin1String("bendingShear"))
        out.insert(QStringLiteral("shearExceeded"), c.shearExceeded);
    if (!c.warnings.isEmpty())
        out.insert(QStringLiteral("warnings"), QJsonArray::fromStringList(c.warnings));
    if (!c.uncited.isEmpty())
        out.insert(QStringLiteral("uncitedValues"), QJsonArray::fromStringList(c.uncited));
    out.insert(QStringLiteral("steps"), QJsonArray::fromStringList(c.steps));
    return out;
}

// The table of places: per place every check with a value there.
QJsonArray placesJson(const EcMember &m)
{
    QJsonArray places;
    for (int place : m.places) {
        QJsonObject checks;
        for (const EcCheck &c : m.checks) {
            if (!c.at(place))
                continue;
            const EcPlaceValue &v = *c.at(place);
            QJsonObject check{{QStringLiteral("met"), v.met}};
            if (v.utilisation)
                check.insert(QStringLiteral("utilisation"), *v.utilisation);
            insertFinite(check, QStringLiteral("design"), v.design);
            insertFinite(check, QStringLiteral("x"), v.x);
            checks.insert(c.id, check);
        }
        places.append(QJsonObject{{QStringLiteral("place"), EcPlaceKey(place)},
                                  {QStringLiteral("name"), EcPlaceName(place)},
                                  {QStringLiteral("checks"), checks}});
    }
    return places;
}

QJsonObject checksJson(const EcMember &m)
{
    QJsonObject checks;
    for (const EcCheck &c : m.checks)
        if (c.done)
            checks.insert(c.id, checkJson(c, m.id == QLatin1String("timber")));
    return checks;
}

QJsonObject valueJson(const EcValueRow &v)
{
    QJsonObject out{{QStringLiteral("name"), v.name},
                    {QStringLiteral("symbol"), v.symbol},
                    {QStringLiteral("group"), v.group},
                    {QStringLiteral("key"), v.key},
                    {QStringLiteral("source"), v.cited ? QStringLiteral("belegt") : EcUncited}};
    if (!v.duration.isEmpty())
        out.insert(QStringLiteral("value"), v.duration);
    else
        insertFinite(out, QStringLiteral("value"), v.value);
    return out;
}

// The members every member object has: its verdict and why not.
void insertVerdict(QJsonObject &out, const EcMember &m)
{
    out.insert(QStringLiteral("met"), m.met);
    if (!m.checked)
        out.insert(QStringLiteral("omitted"), m.omission);
    else if (!m.noSize.isEmpty())
        out.insert(QStringLiteral("reason"), m.noSize);
    const QStringList warnings = m.warnings + m.unusable;
    QStringList unique;
    for (const QString &w : warnings)
        if (!unique.contains(w))
            unique << w;
    if (!unique.isEmpty())
        out.insert(QStringLiteral("warnings"), QJsonArray::fromStringList(unique));
}

QJsonObject timberJson(const EurocodeRun &run, const EcMember &m)
{
    QJsonObject out;
    insertVerdict(out, m);
    if (!m.checked)
        return out;
    const TimberResult &t = run.run.output.result.timber;
    out.insert(QStringLiteral("class"), t.className);
    out.insert(QStringLiteral("serviceClass"), t.serviceClass);
    out.insert(QStringLiteral("b"), t.b);
    out.insert(QStringLiteral("h"), t.h);
    out.insert(QStringLiteral("sized"), t.sized);
    // Left out when no height up to the search limit suffices: "reason" says so.
    if (t.hRequired > 0)
        out.insert(QStringLiteral("hRequired"), t.hRequired);
    insertFinite(out, QStringLiteral("kh"), t.kh);
    insertFinite(out, QStringLiteral("kcr"), t.kcr);
    insertFinite(out, QStringLiteral("kdef"), t.kdef);
    out.insert(QStringLiteral("checks"), checksJson(m));
    out.insert(QStringLiteral("places"), placesJson(m));
    if (!run.run.classFromGrade.isEmpty())
        out.insert(QStringLiteral("classFrom"),
                   QJsonObject{{QStringLiteral("grade"), run.run.classFromGrade.simplified()},
                               {QStringLiteral("key"), run.run.classMapping.key},
                               {QStringLiteral("source"),
                                run.run.classMapping.cited ? QStringLiteral("belegt") : EcUncited}});
    return out;
}

QJsonObject steelJson(const EurocodeRun &run, const EcMember &m)
{
    QJsonObject out;
    insertVerdict(out, m);
    if (!m.checked)
        return out;
    const SteelResult &s = run.run.output.result.steel;
    QStringList etaUncited;
    for (const NamedValue &n : s.values)
        if (n.name == QLatin1String("eta") && !n.value.cited)
            etaUncited << n.value.key;
    out.insert(QStringLiteral("grade"), s.grade);
    out.insert(QStringLiteral("profile"), s.profile);
    out.insert(QStringLiteral("class"), s.sectionClass.section);
    insertFinite(out, QStringLiteral("webSlenderness"), s.webSlenderness);
    insertFinite(out, QStringLiteral("webLimit"), s.webLimit);
    out.insert(QStringLiteral("webLimitUncitedValues"), QJsonArray::fromStringList(etaUncited));
    out.insert(QStringLiteral("sized"), s.sized);
    out.insert(QStringLiteral("noneAdequate"), s.noneAdequate);
    out.insert(QStringLiteral("checks"), checksJson(m));
    out.insert(QStringLiteral("places"), placesJson(m));
    return out;
}

} // namespace

QList<QCommandLineOption> EurocodeOptions()
{
    auto valued = [](const char *name) {
        return QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    };
    return {QCommandLineOption(QStringLiteral("eurocode"), QString()),
            valued("ec-class"),
            valued("service-class"),
            valued("ec-height"),
            valued("ec-steel"),
            valued("ec-profile"),
            valued("imposed-category"),
            valued("snow-altitude"),
            valued("point-loads")};
}

std::optional<QString> ReadEurocodeOptions(const QCommandLineParser &parser, EurocodeSettings &s)
{
    s.enabled = parser.isSet(QStringLiteral("eurocode"));
    auto value = [&](const char *name) { return parser.value(QString::fromLatin1(name)).trimmed(); };
    auto isSet = [&](const char *name) { return parser.isSet(QString::fromLatin1(name)); };
    if (!s.enabled) {
        for (const char *name : {"ec-class", "service-class", "ec-height", "ec-steel", "ec-profile",
                                 "imposed-category", "snow-altitude", "point-loads"})
            if (isSet(name))
                return QStringLiteral("--%1 gilt nur mit --eurocode").arg(QLatin1String(name));
        return std::nullopt;
    }
    s.timberClass = value("ec-class");
    if (isSet("service-class")) {
        const QString v = value("service-class");
        if (v != QLatin1String("1") && v != QLatin1String("2") && v != QLatin1String("3"))
            return QStringLiteral("--service-class erwartet 1, 2 oder 3, nicht \u201E%1\u201C").arg(v);
        s.serviceClass = v.toInt();
    }
    if (isSet("ec-height")) {
        bool ok = false;
        const double h = value("ec-height").toDouble(&ok);
        if (!ok || !EcSizeAccepted(h))
            return QStringLiteral("--ec-height erwartet eine Höhe in cm von %1 bis %2, nicht \u201E%3\u201C")
                .arg(QString::number(EcMinSizeCm), QString::number(EcMaxSizeCm), value("ec-height"));
        s.hCm = h;
        s.heightText = value("ec-height");
    }
    s.steelGrade = value("ec-steel");
    s.profile = value("ec-profile");
    if (isSet("imposed-category")) {
        const QStringList categories{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                                     QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G"), QStringLiteral("H")};
        const std::optional<QString> v = matchName(value("imposed-category"), categories);
        if (!v)
            return QStringLiteral("unbekannte Nutzlastkategorie \u201E%1\u201C (A bis H)").arg(value("imposed-category"));
        s.imposedCategory = v->at(0);
    }
    if (isSet("snow-altitude")) {
        const std::optional<QString> v = matchName(value("snow-altitude"), {QStringLiteral("low"), QStringLiteral("high")});
        if (!v)
            return QStringLiteral("--snow-altitude erwartet low oder high, nicht \u201E%1\u201C").arg(value("snow-altitude"));
        s.snowHigh = *v == QLatin1String("high");
    }
    if (isSet("point-loads")) {
        const QStringList actions{QStringLiteral("g"), QStringLiteral("q"), QStringLiteral("s"), QStringLiteral("w")};
        const std::optional<QString> v = matchName(value("point-loads"), actions);
        if (!v)
            return QStringLiteral("--point-loads erwartet g, q, s oder w, nicht \u201E%1\u201C").arg(value("point-loads"));
        s.pointLoadAction = int(actions.indexOf(*v));
    }
    return std::nullopt;
}

std::optional<QString> CheckEurocodeNames(EurocodeSettings &s, const Data &data)
{
    QStringList classes, grades, profiles;
    for (const TimberClass &c : data.timber)
        classes << c.name;
    for (const SteelGrade &g : data.steel)
        grades << g.name;
    for (const Profile &p : data.profiles)
        profiles << p.designation;
    if (!s.timberClass.isEmpty()) {
        const std::optional<QString> known = matchName(s.timberClass, classes);
        if (!known)
            return QStringLiteral("unbekannte Festigkeitsklasse \u201E%1\u201C (%2)")
                .arg(s.timberClass, classes.join(QStringLiteral(", ")));
        s.timberClass = *known;
    }
    if (!s.steelGrade.isEmpty()) {
        const std::optional<QString> known = matchName(s.steelGrade, grades);
        if (!known)
            return QStringLiteral("unbekannte Stahlsorte \u201E%1\u201C (%2)").arg(s.steelGrade, grades.join(QStringLiteral(", ")));
        s.steelGrade = *known;
    }
    if (!s.profile.isEmpty()) {
        const std::optional<QString> known = matchName(s.profile, profiles);
        if (!known)
            return QStringLiteral("unbekanntes Profil \u201E%1\u201C (z. B. \u201EIPE 200\u201C, \u201EHE 300 A\u201C)")
                .arg(s.profile);
        s.profile = *known;
    }
    return std::nullopt;
}

std::optional<QString> CheckEurocodeWidth(const QString &widthText)
{
    if (EcSizeAccepted(LeadingNumber(widthText)))
        return std::nullopt;
    return QStringLiteral("--eurocode braucht eine Breite von %1 bis %2 cm, nicht --width \u201E%3\u201C")
        .arg(QString::number(EcMinSizeCm), QString::number(EcMaxSizeCm), widthText);
}

EurocodeRun RunEurocode(const FileResult &file, const CalcOptions &options, const EurocodeSettings &commandLine,
                        const Data &data, const std::vector<DataProblem> &dataProblems, bool envelopes,
                        const QLocale &locale)
{
    EurocodeRun out;
    // The settings of a Varno project file, where the options give none.
    const FileEurocode used = EurocodeForFile(file, options, commandLine, data);
    if (!used.errors.isEmpty()) {
        for (const QString &error : used.errors)
            out.errors << QStringLiteral("Eurocode-Nachweis ausgelassen: %1").arg(error);
        out.presentation.errors = out.errors;
        out.presentation.problems = out.errors;
        out.status = UsageOrFileError;
        return out;
    }
    const EurocodeSettings &settings = used.settings;
    EcRun &run = out.run;
    run.inactiveLoads = InactivePointLoads(file.beam);
    CheckOptions &o = run.inputs.options;
    o.serviceClass = settings.serviceClass;
    o.hCm = settings.hCm;
    o.imposedCategory = settings.imposedCategory;
    o.snowHigh = settings.snowHigh;
    o.pointLoadAction = settings.pointLoadAction;
    o.bCm = LeadingNumber(used.widthText);
    o.series = QString::fromLatin1(SeriesAt(used.series).name).remove(u'-');
    o.profile = settings.profile;
    // The data's own limits, unless the project file sets one (then it
    // stands in the check as unsourced).
    run.inputs.limits = used.limits;

    o.steelGrade = settings.steelGrade.isEmpty() ? SteelGradeOfGrade(file.steelGrade) : settings.steelGrade;
    if (!dataProblems.empty()) {
        // Damaged data say nothing about the names: only the damage is told.
        run.output.result.problems = dataProblems;
    } else {
        o.timberClass = settings.timberClass.isEmpty() ? EcClassFromGrade(run, data, file.timberGrade)
                                                       : settings.timberClass;
        if (run.timberOmission == EcOmission::None && !EcSizeAccepted(o.bCm)) {
            run.timberOmission = EcOmission::SizeOutOfRange;
            run.timberOmittedName = used.widthText;
        }
        o.timber = run.timberOmission == EcOmission::None;
        o.steel = data.steelGrade(o.steelGrade) != nullptr;
        if (!o.steel) {
            run.steelOmission = EcOmission::UnknownSteelGrade;
            run.steelOmittedName = o.steelGrade;
        }
        run.output = ec::RunEurocode(file.texts, data, run.inputs, envelopes);
        run.ran = true;
    }
    out.presentation = PresentEurocode(run, locale);
    out.errors = out.presentation.errors;
    out.status = out.errors.isEmpty() ? Computed : Refused;
    return out;
}

QJsonObject EurocodeJson(const EurocodeRun &run)
{
    const EcPresentation &p = run.presentation;
    QJsonObject out{{QStringLiteral("met"), p.met()}};
    if (!p.errors.isEmpty())
        out.insert(QStringLiteral("errors"), QJsonArray::fromStringList(p.errors));
    if (!p.problems.isEmpty())
        return out;
    out.insert(QStringLiteral("assumptions"), QJsonArray::fromStringList(p.assumptions));
    out.insert(QStringLiteral("warnings"), QJsonArray::fromStringList(p.warnings));
    for (const EcMember &m : p.members)
        out.insert(m.id, m.id == QLatin1String("timber") ? timberJson(run, m) : steelJson(run, m));
    QJsonArray values;
    for (const EcValueRow &v : p.actionValues)
        values.append(valueJson(v));
    for (const EcMember &m : p.members)
        for (const EcValueRow &v : m.values)
            values.append(valueJson(v));
    out.insert(QStringLiteral("values"), values);
    return out;
}

QString WithEurocodeJson(const QString &objectLine, const QJsonObject &eurocode)
{
    const qsizetype end = objectLine.lastIndexOf(u'}');
    if (end < 0)
        return objectLine;
    const QString inner = objectLine.left(end).trimmed();
    const QString member = QStringLiteral("\"eurocode\":")
        + QString::fromUtf8(QJsonDocument(eurocode).toJson(QJsonDocument::Compact));
    return inner + (inner.endsWith(u'{') ? QString() : QStringLiteral(",")) + member + u'}';
}

} // namespace varno::cli
