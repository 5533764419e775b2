// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/eurocodeoutput.h"

#include "design/series.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace varno::cli {

using namespace varno::ec;

namespace {

const char *const RegionKeys[RegionCountEc] = {"F1", "F2", "F3", "Kl", "Kr"};
const char *const ActionLetters[ActionCount] = {"G", "Q", "S", "W"};
const char *const ActionWords[ActionCount] = {"ständige Last g", "Nutzlast q", "Schnee s", "Wind w"};
const QString Uncited = QStringLiteral("Quelle: nicht belegt");

const QString Assumptions[] = {
    QStringLiteral("Annahmen: Druckrand seitlich gehalten (kcrit = 1, kein Biegedrillknicken), "
                   "Schubverformung in w nicht berücksichtigt,"),
    QStringLiteral("ständige Last g mit einem Teilsicherheitsbeiwert auf allen Bereichen (γG,sup oder γG,inf), "
                   "%1."),
    QStringLiteral("Nicht nachgewiesen: Brand, Schwingungen, Auflagerpressung, Biegedrillknicken, "
                   "Ausklinkungen und Löcher."),
};

QString pointLoadText(int action)
{
    return action == ActG ? QStringLiteral("Einzellasten als ständige Last g")
                          : QStringLiteral("Einzellasten als %1").arg(QString::fromUtf8(ActionWords[action]));
}

QString kindText(CombinationKind kind)
{
    switch (kind) {
    case CombinationKind::Fundamental:
        return QStringLiteral("Grundkombination");
    case CombinationKind::Characteristic:
        return QStringLiteral("charakteristische Kombination");
    case CombinationKind::QuasiPermanent:
        return QStringLiteral("quasi-ständige Kombination");
    case CombinationKind::Final:
        return QStringLiteral("Endverformung w_fin");
    case CombinationKind::NetFinal:
        return QStringLiteral("Endverformung w_net,fin aus der quasi-ständigen Kombination");
    }
    return {};
}

QString regionList(unsigned regions)
{
    QStringList names;
    for (int r = 0; r < RegionCountEc; ++r)
        if (regions & (1u << r))
            names << texts::RegionLabels[r];
    return names.join(QStringLiteral(", "));
}

// "Grundkombination, Nutzlast q führend: 1.35·G (Feld 1) + 1.50·Q (Feld 1)"
QString combinationText(const Combination &c, const QLocale &locale)
{
    QStringList terms;
    for (int a = 0; a < ActionCount; ++a)
        if ((c.actions & (1u << a)) && c.factor[a] != 0 && c.regionsOn[a] != 0)
            terms << QStringLiteral("%1·%2 (%3)")
                         .arg(FormatFixed(c.factor[a], 2, locale), QLatin1String(ActionLetters[a]),
                              regionList(c.regionsOn[a]));
    QString head = kindText(c.kind);
    if (c.leading >= 0 && c.kind != CombinationKind::QuasiPermanent && c.kind != CombinationKind::NetFinal)
        head += QStringLiteral(", %1 führend").arg(QString::fromUtf8(ActionWords[c.leading]));
    else if (c.actions == 1u)
        head += QStringLiteral(", nur ständige Last");
    return head + QStringLiteral(": ") + terms.join(QStringLiteral(" + "));
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
                regions.append(QLatin1String(RegionKeys[r]));
        out.insert(QLatin1String(ActionLetters[a]),
                   QJsonObject{{QStringLiteral("factor"), c.factor[a]}, {QStringLiteral("regions"), regions}});
    }
    return out;
}

QString unitText(CheckUnit unit)
{
    switch (unit) {
    case CheckUnit::Stress:
        return QStringLiteral("N/mm²");
    case CheckUnit::Deflection:
        return QStringLiteral("mm");
    case CheckUnit::Moment:
        return QStringLiteral("kNm");
    case CheckUnit::Force:
        return QStringLiteral("kN");
    }
    return {};
}

// The keys without a citable source among the values a check rests on.
QStringList uncitedKeys(const std::vector<Value> &values)
{
    QStringList out;
    for (const Value &v : values)
        if (!v.cited && !out.contains(v.key))
            out << v.key;
    return out;
}

const Value *namedValue(const std::vector<NamedValue> &values, const QString &name)
{
    for (const NamedValue &n : values)
        if (n.name == name)
            return &n.value;
    return nullptr;
}

// The values behind one check: the load-duration classes of its
// combination's actions (timber ULS), its limit, the class mapping.
std::vector<Value> basisOf(const EurocodeRun &run, const CheckOutcome &o, bool timberUls, const QString &limitName)
{
    std::vector<Value> out;
    if (timberUls)
        for (int a = 0; a < ActionCount; ++a)
            if (o.combination.actions & (1u << a))
                if (const Value *v = namedValue(run.result.actionValues,
                                                QStringLiteral("KLED,%1").arg(QLatin1String(ActionLetters[a]))))
                    out.push_back(*v);
    if (!limitName.isEmpty())
        for (const auto *values : {&run.result.timber.values, &run.result.steel.values})
            if (const Value *v = namedValue(*values, limitName))
                out.push_back(*v);
    return out;
}

QJsonObject checkJson(const CheckOutcome &o, bool timber, const QStringList &uncited)
{
    QJsonObject out{{QStringLiteral("utilisation"), o.utilisation},
                    {QStringLiteral("design"), o.design},
                    {QStringLiteral("resistance"), o.resistance},
                    {QStringLiteral("unit"), unitText(o.unit)},
                    {QStringLiteral("region"), o.region >= 0 ? QString::fromLatin1(RegionKeys[o.region]) : QString()},
                    {QStringLiteral("x"), o.x},
                    {QStringLiteral("combination"), combinationText(o.combination, QLocale::c())},
                    {QStringLiteral("factors"), factorsJson(o.combination)}};
    if (timber && o.kmod > 0)
        out.insert(QStringLiteral("kmod"), o.kmod);
    if (!uncited.isEmpty())
        out.insert(QStringLiteral("uncitedValues"), QJsonArray::fromStringList(uncited));
    return out;
}

QString checkLine(const QString &label, const QString &design, const QString &resistance, const CheckOutcome &o,
                  const QLocale &locale, const QStringList &uncited)
{
    QString line = QStringLiteral("  %1: %2 = %3 %4, %5 = %6 %4, η = %7, %8, x = %9 m")
                       .arg(label, design, FormatFixed(o.design, 2, locale), unitText(o.unit), resistance,
                            FormatFixed(o.resistance, 2, locale), FormatFixed(o.utilisation, 2, locale),
                            texts::RegionLabels[o.region], FormatFixed(o.x, 2, locale));
    if (o.kmod > 0)
        line += QStringLiteral(", kmod = %1").arg(FormatFixed(o.kmod, 2, locale));
    if (o.utilisation > 1)
        line += QStringLiteral("  nicht erfüllt");
    if (!uncited.isEmpty())
        line += QStringLiteral("  (%1: %2)").arg(Uncited, uncited.join(QStringLiteral(", ")));
    return line;
}

QString durationGerman(double d)
{
    static const char *const names[DurationCount] = {"ständig", "lang", "mittel", "kurz", "kurz/sehr kurz",
                                                     "sehr kurz"};
    return QString::fromUtf8(names[int(d)]);
}

QJsonObject valueJson(const QString &group, const NamedValue &n)
{
    QJsonObject out{{QStringLiteral("name"), n.name},
                    {QStringLiteral("group"), group},
                    {QStringLiteral("key"), n.value.key},
                    {QStringLiteral("source"), n.value.cited ? QStringLiteral("belegt") : Uncited}};
    if (n.name.startsWith(QLatin1String("KLED")))
        out.insert(QStringLiteral("value"), DurationName(Duration(int(n.value.value))));
    else
        out.insert(QStringLiteral("value"), n.value.value);
    return out;
}

QString valueText(const NamedValue &n, const QLocale &locale)
{
    // Without group separators, as every number of the program: "11000", not "11.000".
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString value = n.name.startsWith(QLatin1String("KLED")) ? durationGerman(n.value.value)
                                                                    : plain.toString(n.value.value, 'g', 6);
    return QStringLiteral("%1 = %2 [%3]%4")
        .arg(n.name, value, n.value.key, n.value.cited ? QString() : QStringLiteral(" (") + Uncited + u')');
}

// "S235" from the steel grade caption "St 360 C (S235JO)".
QString steelNameOfGrade(int grade)
{
    if (grade < 0 || grade >= SteelGradeCount)
        return {};
    const QString caption = texts::SteelGrades[grade];
    const qsizetype open = caption.indexOf(QLatin1String("(S"));
    return open < 0 ? QString() : caption.mid(open + 1, 4);
}

QString problemText(const DataProblem &p)
{
    switch (p.kind) {
    case DataProblem::NoFile:
        return QStringLiteral("%1: Datei nicht lesbar (%2)").arg(p.file, p.text);
    case DataProblem::NoHeader:
        return QStringLiteral("%1: keine Kopfzeile").arg(p.file);
    case DataProblem::NoColumn:
        return QStringLiteral("%1, Zeile %2: Spalte %3 fehlt").arg(p.file).arg(p.line).arg(p.column);
    case DataProblem::BadNumber:
        return QStringLiteral("%1, Zeile %2, Spalte %3: Wert \u201E%4\u201C nicht lesbar")
            .arg(p.file)
            .arg(p.line)
            .arg(p.column, p.text);
    case DataProblem::BadRow:
        return QStringLiteral("%1, Zeile %2: Zeile nicht lesbar (falsche Spaltenzahl oder offenes \")")
            .arg(p.file)
            .arg(p.line);
    case DataProblem::NoKey:
        return QStringLiteral("%1: Wert %2 fehlt").arg(p.file, p.column);
    case DataProblem::NotPositive:
        return QStringLiteral("%1, Zeile %2, Spalte %3: Wert \u201E%4\u201C nicht größer als 0")
            .arg(p.file)
            .arg(p.line)
            .arg(p.column, p.text);
    case DataProblem::Duplicate:
        return QStringLiteral("%1, Zeile %2: %3 steht schon in %4, Zeile %5")
            .arg(p.file)
            .arg(p.line)
            .arg(p.text, p.firstFile)
            .arg(p.firstLine);
    case DataProblem::TooLarge:
        return QStringLiteral("%1: Datei größer als %2 MB, nicht gelesen").arg(p.file).arg(MaxDataFileBytes / (1024 * 1024));
    }
    return {};
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
        if (!ok || !std::isfinite(h) || h <= 0 || h > MaxTimberHeightMm / 10.0)
            return QStringLiteral("--ec-height erwartet eine Höhe in cm über 0 bis %1, nicht \u201E%2\u201C")
                .arg(MaxTimberHeightMm / 10)
                .arg(value("ec-height"));
        s.hCm = h;
    }
    s.steelGrade = value("ec-steel");
    s.profile = value("ec-profile");
    if (isSet("imposed-category")) {
        const QString v = value("imposed-category").toUpper();
        if (v.size() != 1 || v[0] < u'A' || v[0] > u'H')
            return QStringLiteral("unbekannte Nutzlastkategorie \u201E%1\u201C (A bis H)").arg(value("imposed-category"));
        s.imposedCategory = v[0];
    }
    if (isSet("snow-altitude")) {
        const QString v = value("snow-altitude");
        if (v != QLatin1String("low") && v != QLatin1String("high"))
            return QStringLiteral("--snow-altitude erwartet low oder high, nicht \u201E%1\u201C").arg(v);
        s.snowHigh = v == QLatin1String("high");
    }
    if (isSet("point-loads")) {
        const QString v = value("point-loads").toLower();
        const int index = QStringList{QStringLiteral("g"), QStringLiteral("q"), QStringLiteral("s"),
                                      QStringLiteral("w")}
                              .indexOf(v);
        if (index < 0)
            return QStringLiteral("--point-loads erwartet g, q, s oder w, nicht \u201E%1\u201C").arg(value("point-loads"));
        s.pointLoadAction = index;
    }
    return std::nullopt;
}

Data ReadEurocodeData(const QString &directory, QStringList &problems)
{
    std::vector<DataProblem> found;
    Data data = ReadData(directory, found);
    for (const DataProblem &p : found)
        problems << problemText(p);
    return data;
}

std::optional<QString> CheckEurocodeNames(const EurocodeSettings &s, const Data &data)
{
    if (!s.timberClass.isEmpty() && !data.timberClass(s.timberClass)) {
        QStringList known;
        for (const TimberClass &c : data.timber)
            known << c.name;
        return QStringLiteral("unbekannte Festigkeitsklasse \u201E%1\u201C (%2)")
            .arg(s.timberClass, known.join(QStringLiteral(", ")));
    }
    if (!s.steelGrade.isEmpty() && !data.steelGrade(s.steelGrade)) {
        QStringList known;
        for (const SteelGrade &g : data.steel)
            known << g.name;
        return QStringLiteral("unbekannte Stahlsorte \u201E%1\u201C (%2)").arg(s.steelGrade, known.join(QStringLiteral(", ")));
    }
    if (!s.profile.isEmpty() && !data.profile(s.profile))
        return QStringLiteral("unbekanntes Profil \u201E%1\u201C (z. B. \u201EIPE 200\u201C, \u201EHE 300 A\u201C)")
            .arg(s.profile);
    return std::nullopt;
}

EurocodeRun RunEurocode(const FileResult &file, const CalcOptions &options, const EurocodeSettings &settings,
                        const Data &data)
{
    EurocodeRun run;
    run.pointLoadAction = settings.pointLoadAction;
    CheckOptions o;
    o.serviceClass = settings.serviceClass;
    o.hCm = settings.hCm;
    o.imposedCategory = settings.imposedCategory;
    o.snowHigh = settings.snowHigh;
    o.pointLoadAction = settings.pointLoadAction;
    run.bCm = LeadingNumber(options.widthText);
    o.bCm = run.bCm;

    o.timberClass = settings.timberClass;
    if (o.timberClass.isEmpty()) {
        const QString grade = file.timberGrade >= 0 && file.timberGrade < TimberGradeCount
            ? texts::TimberGrades[file.timberGrade]
            : QString();
        run.timberGradeSource = grade;
        o.timberClass = data.ecClassOfGrade.value(grade);
        run.timberMapping = data.gradeMapping.value(grade);
        if (o.timberClass.isEmpty() || !data.timberClass(o.timberClass)) {
            run.errors << QStringLiteral("Eurocode-Nachweis Holz ausgelassen: für die Holzsorte \u201E%1\u201C ist "
                                         "keine Festigkeitsklasse hinterlegt, bitte --ec-class angeben")
                              .arg(grade.simplified());
            run.status = UsageOrFileError;
            o.timber = false;
        }
    }
    if (o.timber && !(run.bCm > 0)) {
        run.errors << QStringLiteral("Eurocode-Nachweis Holz ausgelassen: die Breite b muss größer als 0 sein");
        run.status = std::max<int>(run.status, Refused);
        o.timber = false;
    }
    o.steelGrade = settings.steelGrade.isEmpty() ? steelNameOfGrade(file.steelGrade) : settings.steelGrade;
    if (!data.steelGrade(o.steelGrade)) {
        run.errors << QStringLiteral("Eurocode-Nachweis Stahl ausgelassen: Stahlsorte \u201E%1\u201C unbekannt")
                          .arg(o.steelGrade);
        run.status = UsageOrFileError;
        o.steel = false;
    }
    o.profile = settings.profile;
    o.series = QString::fromLatin1(SeriesAt(options.series).name).remove(u'-');
    run.series = o.series;

    run.result = RunCheck(file.texts, data, o);
    for (const DataProblem &p : run.result.problems)
        run.errors << QStringLiteral("Eurocode-Nachweis ausgelassen: %1").arg(problemText(p));
    if (!run.result.problems.empty()) {
        run.status = std::max<int>(run.status, Refused);
        return run;
    }
    if (run.result.refused) {
        run.errors << QStringLiteral("Eurocode-Nachweis ausgelassen: ein Lastfall einer einzelnen Last ist nicht "
                                     "berechenbar");
        run.status = std::max<int>(run.status, Refused);
        return run;
    }
    if (run.result.steel.done && run.result.steel.noneAdequate)
        run.status = std::max<int>(run.status, Refused);
    if (run.result.timber.done && run.result.timber.hRequired == 0 && !settings.hCm)
        run.status = std::max<int>(run.status, Refused);
    run.done = true;
    return run;
}

QStringList EurocodeLines(const EurocodeRun &run, const QLocale &locale)
{
    QStringList lines{EurocodeHeading};
    if (!run.done) {
        lines << QStringLiteral("  ausgelassen (siehe Fehlermeldung)");
        return lines;
    }
    lines << Assumptions[0] << Assumptions[1].arg(pointLoadText(run.pointLoadAction)) << Assumptions[2];
    const TimberResult &t = run.result.timber;
    auto f2 = [&](double v) { return FormatFixed(v, 2, locale); };
    if (t.done) {
        QString head = QStringLiteral("Holz %1, Nutzungsklasse %2, b = %3 cm, h = %4 cm")
                           .arg(t.className)
                           .arg(t.serviceClass)
                           .arg(FormatFixed(t.b, 1, locale), FormatFixed(t.h, 1, locale));
        if (t.hRequired > 0)
            head += t.sized ? QStringLiteral(" (bemessen)")
                            : QStringLiteral(" (erforderlich h = %1 cm)").arg(FormatFixed(t.hRequired, 1, locale));
        else
            head += QStringLiteral(" (keine Höhe bis %1 cm reicht)").arg(MaxTimberHeightMm / 10);
        lines << head;
        if (!run.timberGradeSource.isEmpty())
            lines << QStringLiteral("  Festigkeitsklasse aus der Holzsorte %1 abgeleitet [%2]%3")
                         .arg(run.timberGradeSource.simplified(), run.timberMapping.key,
                              run.timberMapping.cited ? QString() : QStringLiteral(" (") + Uncited + u')');
        lines << QStringLiteral("  kh = %1, kcr = %2, kdef = %3, γM = %4")
                     .arg(f2(t.kh), f2(t.kcr), f2(t.kdef), f2(t.gammaM));
        if (!t.bending.done && !t.deflectionInst.done)
            lines << QStringLiteral("  keine Last: nichts nachzuweisen");
        struct Row { const char *label, *design, *resistance; const CheckOutcome *o; bool uls; const char *limit; };
        const Row rows[] = {
            {"Biegung", "σm,d", "fm,d", &t.bending, true, nullptr},
            {"Schub", "τd", "fv,d", &t.shear, true, nullptr},
            {"Durchbiegung w_inst", "w_inst", "Grenzwert", &t.deflectionInst, false, "w_inst"},
            {"Durchbiegung w_fin", "w_fin", "Grenzwert", &t.deflectionFin, false, "w_fin"},
            {"Durchbiegung w_net,fin", "w_net,fin", "Grenzwert", &t.deflectionNetFin, false, "w_net,fin"},
        };
        for (const Row &r : rows) {
            if (!r.o->done)
                continue;
            QString limitName;
            if (r.limit)
                limitName = QStringLiteral("l/n %1 %2").arg(QLatin1String(r.limit),
                                                            r.o->region < 3 ? QLatin1String("span")
                                                                            : QLatin1String("cantilever"));
            lines << checkLine(QString::fromUtf8(r.label), QString::fromUtf8(r.design), QString::fromUtf8(r.resistance),
                               *r.o, locale, uncitedKeys(basisOf(run, *r.o, r.uls, limitName)));
            lines << QStringLiteral("    maßgebend: ") + combinationText(r.o->combination, locale);
        }
    }
    const SteelResult &s = run.result.steel;
    if (s.done) {
        QString head = QStringLiteral("Stahl %1, %2, Querschnittsklasse %3").arg(s.grade, s.profile).arg(s.sectionClass.section);
        if (s.noneAdequate)
            head += QStringLiteral(" — kein Profil der Reihe %1 reicht aus; gezeigt: das größte").arg(run.series);
        else if (s.sized)
            head += QStringLiteral(" (leichtestes ausreichendes Profil der Reihe %1)").arg(run.series);
        lines << head;
        const Value *eta = namedValue(s.values, QStringLiteral("eta"));
        lines << QStringLiteral("  ε = %1, Gurt c/t = %2, Steg c/t = %3, hw/tw = %4 (Grenze 72ε/η = %5%6)")
                     .arg(f2(s.sectionClass.epsilon), f2(s.sectionClass.flangeRatio), f2(s.sectionClass.webRatio),
                          f2(s.webSlenderness), f2(s.webLimit),
                          eta && !eta->cited ? QStringLiteral("; η: ") + Uncited : QString());
        if (!s.bending.done && !s.deflection.done)
            lines << QStringLiteral("  keine Last: nichts nachzuweisen");
        if (s.sectionClass.section > 3)
            lines << QStringLiteral("  Querschnittsklasse 4: Profil wird nicht verwendet");
        if (s.webSlenderness > s.webLimit)
            lines << QStringLiteral("  hw/tw über 72ε/η: Schubbeulnachweis nötig, nicht geführt");
        struct Row { const char *label, *design, *resistance; const CheckOutcome *o; bool limit; };
        const Row rows[] = {
            {"Biegung", "MEd", "Mc,Rd", &s.bending, false},
            {"Querkraft", "VEd", "Vpl,Rd", &s.shear, false},
            {"Biegung und Querkraft", "MEd", "MV,Rd", &s.bendingShear, false},
            {"Durchbiegung", "w", "Grenzwert", &s.deflection, true},
        };
        for (const Row &r : rows) {
            if (!r.o->done)
                continue;
            QStringList uncited;
            if (r.limit)
                uncited = uncitedKeys(basisOf(run, *r.o, false,
                                              r.o->region < 3 ? QStringLiteral("l/n span") : QStringLiteral("l/n cantilever")));
            QString line = checkLine(QString::fromUtf8(r.label), QString::fromUtf8(r.design),
                                     QString::fromUtf8(r.resistance), *r.o, locale, uncited);
            if (r.o == &s.bendingShear)
                line += QStringLiteral(", VEd = %1 kN").arg(f2(r.o->shear));
            lines << line << QStringLiteral("    maßgebend: ") + combinationText(r.o->combination, locale);
        }
    }
    lines << QStringLiteral("Verwendete Werte [Quellenschlüssel]:");
    for (const NamedValue &n : run.result.actionValues)
        lines << QStringLiteral("  ") + valueText(n, locale);
    if (t.done)
        for (const NamedValue &n : t.values)
            lines << QStringLiteral("  Holz: ") + valueText(n, locale);
    if (s.done)
        for (const NamedValue &n : s.values)
            lines << QStringLiteral("  Stahl: ") + valueText(n, locale);
    return lines;
}

QJsonObject EurocodeJson(const EurocodeRun &run)
{
    QJsonObject out;
    if (!run.done) {
        out.insert(QStringLiteral("errors"), QJsonArray::fromStringList(run.errors));
        return out;
    }
    out.insert(QStringLiteral("assumptions"),
               QJsonArray{Assumptions[0] + u' ' + Assumptions[1].arg(pointLoadText(run.pointLoadAction)),
                          Assumptions[2]});
    const TimberResult &t = run.result.timber;
    if (t.done) {
        QJsonObject checks;
        const std::pair<const char *, const CheckOutcome *> list[] = {
            {"bending", &t.bending}, {"shear", &t.shear}, {"deflectionInst", &t.deflectionInst},
            {"deflectionFin", &t.deflectionFin}, {"deflectionNetFin", &t.deflectionNetFin}};
        const char *limits[] = {nullptr, nullptr, "w_inst", "w_fin", "w_net,fin"};
        int i = 0;
        for (const auto &[name, o] : list) {
            const char *limit = limits[i++];
            if (!o->done)
                continue;
            const QString limitName = limit ? QStringLiteral("l/n %1 %2").arg(QLatin1String(limit),
                                                                              o->region < 3 ? QLatin1String("span")
                                                                                            : QLatin1String("cantilever"))
                                            : QString();
            checks.insert(QLatin1String(name), checkJson(*o, true, uncitedKeys(basisOf(run, *o, !limit, limitName))));
        }
        QJsonObject timber{{QStringLiteral("class"), t.className},
                           {QStringLiteral("serviceClass"), t.serviceClass},
                           {QStringLiteral("b"), t.b},
                           {QStringLiteral("h"), t.h},
                           {QStringLiteral("hRequired"), t.hRequired > 0 ? QJsonValue(t.hRequired) : QJsonValue()},
                           {QStringLiteral("kh"), t.kh},
                           {QStringLiteral("kcr"), t.kcr},
                           {QStringLiteral("kdef"), t.kdef},
                           {QStringLiteral("checks"), checks}};
        if (!run.timberGradeSource.isEmpty())
            timber.insert(QStringLiteral("classFrom"),
                          QJsonObject{{QStringLiteral("grade"), run.timberGradeSource.simplified()},
                                      {QStringLiteral("key"), run.timberMapping.key},
                                      {QStringLiteral("source"),
                                       run.timberMapping.cited ? QStringLiteral("belegt") : Uncited}});
        out.insert(QStringLiteral("timber"), timber);
    }
    const SteelResult &s = run.result.steel;
    if (s.done) {
        QJsonObject checks;
        const std::pair<const char *, const CheckOutcome *> list[] = {
            {"bending", &s.bending}, {"shear", &s.shear}, {"bendingShear", &s.bendingShear},
            {"deflection", &s.deflection}};
        for (const auto &[name, o] : list) {
            if (!o->done)
                continue;
            QStringList uncited;
            if (o == &s.deflection)
                uncited = uncitedKeys(basisOf(run, *o, false,
                                              o->region < 3 ? QStringLiteral("l/n span") : QStringLiteral("l/n cantilever")));
            QJsonObject check = checkJson(*o, false, uncited);
            if (o == &s.bendingShear)
                check.insert(QStringLiteral("shear"), o->shear);
            checks.insert(QLatin1String(name), check);
        }
        out.insert(QStringLiteral("steel"),
                   QJsonObject{{QStringLiteral("grade"), s.grade},
                               {QStringLiteral("profile"), s.profile},
                               {QStringLiteral("class"), s.sectionClass.section},
                               {QStringLiteral("webSlenderness"), s.webSlenderness},
                               {QStringLiteral("webLimit"), s.webLimit},
                               {QStringLiteral("webLimitUncitedValues"),
                                QJsonArray::fromStringList(uncitedKeys(
                                    {namedValue(s.values, QStringLiteral("eta")) ? *namedValue(s.values, QStringLiteral("eta"))
                                                                                  : Value{}}))},
                               {QStringLiteral("sized"), s.sized},
                               {QStringLiteral("noneAdequate"), s.noneAdequate},
                               {QStringLiteral("checks"), checks}});
    }
    QJsonArray values;
    for (const NamedValue &n : run.result.actionValues)
        values.append(valueJson(QStringLiteral("actions"), n));
    if (t.done)
        for (const NamedValue &n : t.values)
            values.append(valueJson(QStringLiteral("timber"), n));
    if (s.done)
        for (const NamedValue &n : s.values)
            values.append(valueJson(QStringLiteral("steel"), n));
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
