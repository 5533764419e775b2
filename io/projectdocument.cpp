// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/projectdocument.h"

#include "design/series.h"
#include "eurocode/ecdata.h"
#include "eurocode/ecrun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>
#include <initializer_list>
#include <optional>

namespace varno {

static_assert(EurocodeLimitCount == ec::LimitCount);

namespace {

const char *const LengthKeys[RegionCount] = {"L1", "L2", "L3", "Lkl", "Lkr"};
const char *const RegionKeys[RegionCount] = {"F1", "F2", "F3", "Kl", "Kr"};
const char *const LoadKeys[LoadTypeCount] = {"g", "q", "s", "w"};
const char *const InfoKeys[ProjectInfoCount] = {"firma", "projekt", "position", "beschreibung", "bearbeiter"};
const char *const DiagramKeys[EurocodeDiagramCount] = {"moment", "shear", "deflectionTimber", "deflectionSteel"};
const char *const SnowKeys[2] = {"low", "high"};
constexpr int SeriesCount = int(SteelSeriesTable.size());

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

QString quoted(const QString &text)
{
    return QStringLiteral("\u201E%1\u201C").arg(text);
}

QStringList keyList(const char *const *names, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << key(names[i]);
    return out;
}

// What may stand in a text: at most ProjectTextLimit characters, no control
// character but the tab and the line feed (which a field can hold and
// LeadingNumber skips), and no half of a surrogate pair.
QString textProblem(const QString &text)
{
    if (text.size() > ProjectTextLimit)
        return QStringLiteral("ist l\u00E4nger als %1 Zeichen").arg(ProjectTextLimit);
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7F && u <= 0x9F))
            return QStringLiteral("enth\u00E4lt ein Steuerzeichen (U+%1)")
                .arg(QString::number(u, 16).toUpper().rightJustified(4, u'0'));
    }
    if (!text.isValidUtf16())
        return QStringLiteral("enth\u00E4lt ein ung\u00FCltiges Zeichen");
    return {};
}

QString parseErrorText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject: return QStringLiteral("ein Objekt ist nicht abgeschlossen");
    case QJsonParseError::MissingNameSeparator: return QStringLiteral("nach einem Namen fehlt der Doppelpunkt");
    case QJsonParseError::UnterminatedArray: return QStringLiteral("eine Liste ist nicht abgeschlossen");
    case QJsonParseError::MissingValueSeparator: return QStringLiteral("zwischen zwei Werten fehlt das Komma");
    case QJsonParseError::IllegalValue: return QStringLiteral("ung\u00FCltiger Wert");
    case QJsonParseError::TerminationByNumber: return QStringLiteral("die Datei endet mitten in einer Zahl");
    case QJsonParseError::IllegalNumber: return QStringLiteral("ung\u00FCltige Zahl");
    case QJsonParseError::IllegalEscapeSequence: return QStringLiteral("ung\u00FCltige Escape-Sequenz");
    case QJsonParseError::IllegalUTF8String: return QStringLiteral("ung\u00FCltiges UTF-8");
    case QJsonParseError::UnterminatedString: return QStringLiteral("eine Zeichenkette ist nicht abgeschlossen");
    case QJsonParseError::MissingObject: return QStringLiteral("ein Objekt wird erwartet");
    case QJsonParseError::DeepNesting: return QStringLiteral("zu tief verschachtelt");
    case QJsonParseError::DocumentTooLarge: return QStringLiteral("zu gro\u00DF");
    case QJsonParseError::GarbageAtEnd: return QStringLiteral("nach dem Ende des Dokuments folgt noch etwas");
    case QJsonParseError::NoError: break;
    }
    return QStringLiteral("ung\u00FCltiger Aufbau");
}

// Reads the members of one object after another; the first fault ends the
// reading and is kept with the member it names.
class Reader
{
public:
    explicit Reader(bool newerMinor) : m_newerMinor(newerMinor) {}

    bool failed() const { return m_failed; }
    const QString &member() const { return m_member; }
    const QString &error() const { return m_error; }
    const QStringList &ignored() const { return m_ignored; }

    bool fail(const QString &member, const QString &what)
    {
        if (!m_failed) {
            m_failed = true;
            m_member = member;
            m_error = member.isEmpty() ? what : QStringLiteral("%1 %2").arg(quoted(member), what);
        }
        return false;
    }

    // The object at `path`, which must hold every one of `names`; any
    // other member is refused, or left out when the file is of a newer
    // minor version.
    std::optional<QJsonObject> object(const QJsonValue &value, const QString &path, const QStringList &names)
    {
        if (!value.isObject()) {
            fail(path, QStringLiteral("ist kein Objekt."));
            return std::nullopt;
        }
        const QJsonObject object = value.toObject();
        for (const QString &name : names)
            if (!object.contains(name)) {
                fail(join(path, name), QStringLiteral("fehlt."));
                return std::nullopt;
            }
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (names.contains(it.key()))
                continue;
            if (!m_newerMinor) {
                fail(join(path, it.key()), QStringLiteral("ist unbekannt."));
                return std::nullopt;
            }
            m_ignored << join(path, it.key());
        }
        return object;
    }

    bool text(const QJsonObject &object, const QString &path, const QString &name, QString &out)
    {
        const QJsonValue value = object.value(name);
        if (!value.isString())
            return fail(join(path, name), QStringLiteral("ist keine Zeichenkette."));
        return checkedText(value.toString(), join(path, name), out);
    }

    // A text or null (null: empty); an empty text is refused, so that
    // each state has one form.
    bool nameOrNull(const QJsonObject &object, const QString &path, const QString &name, QString &out)
    {
        const QJsonValue value = object.value(name);
        if (value.isNull()) {
            out.clear();
            return true;
        }
        if (!value.isString())
            return fail(join(path, name), QStringLiteral("ist weder eine Zeichenkette noch null."));
        if (value.toString().isEmpty())
            return fail(join(path, name), QStringLiteral("ist leer; die erste Wahl der Liste steht als null."));
        return checkedText(value.toString(), join(path, name), out);
    }

    bool textOrNull(const QJsonObject &object, const QString &path, const QString &name,
                    std::optional<QString> &out)
    {
        const QJsonValue value = object.value(name);
        if (value.isNull()) {
            out.reset();
            return true;
        }
        if (!value.isString())
            return fail(join(path, name), QStringLiteral("ist weder eine Zeichenkette noch null."));
        QString text;
        if (!checkedText(value.toString(), join(path, name), text))
            return false;
        out = text;
        return true;
    }

    bool boolean(const QJsonObject &object, const QString &path, const QString &name, bool &out)
    {
        const QJsonValue value = object.value(name);
        if (!value.isBool())
            return fail(join(path, name), QStringLiteral("ist kein Wahrheitswert (true oder false)."));
        out = value.toBool();
        return true;
    }

    // A whole number from `first` to `last`.
    bool integer(const QJsonObject &object, const QString &path, const QString &name, int first, int last, int &out)
    {
        const QJsonValue value = object.value(name);
        if (!value.isDouble())
            return fail(join(path, name), QStringLiteral("ist keine Zahl."));
        const double number = value.toDouble();
        if (!(number >= first && number <= last) || std::floor(number) != number)
            return fail(join(path, name), QStringLiteral("ist %1; m\u00F6glich sind die ganzen Zahlen %2 bis %3.")
                                              .arg(QString::number(number, 'g', 17))
                                              .arg(first)
                                              .arg(last));
        out = int(number);
        return true;
    }

    // One of `choices`, as its position.
    bool choice(const QJsonObject &object, const QString &path, const QString &name, const QStringList &choices,
                int &out)
    {
        const QJsonValue value = object.value(name);
        if (!value.isString())
            return fail(join(path, name), QStringLiteral("ist keine Zeichenkette."));
        const int position = int(choices.indexOf(value.toString()));
        if (position < 0) {
            QStringList shown;
            for (const QString &c : choices)
                shown << quoted(c);
            const QString text = value.toString().left(40);
            return fail(join(path, name), QStringLiteral("ist %1; m\u00F6glich sind %2.")
                                              .arg(textProblem(text).isEmpty() ? quoted(text) : QStringLiteral("kein Name"),
                                                   shown.join(QStringLiteral(", "))));
        }
        out = position;
        return true;
    }

    static QString join(const QString &path, const QString &name)
    {
        return path.isEmpty() ? name : path + u'.' + name;
    }

private:
    bool checkedText(const QString &text, const QString &member, QString &out)
    {
        if (const QString problem = textProblem(text); !problem.isEmpty())
            return fail(member, problem + u'.');
        out = text;
        return true;
    }

    bool m_newerMinor = false;
    bool m_failed = false;
    QString m_member;
    QString m_error;
    QStringList m_ignored;
};

QStringList seriesNames()
{
    QStringList out;
    for (const SteelSeries &series : SteelSeriesTable)
        out << QString(series.key());
    return out;
}

QStringList categoryNames()
{
    QStringList out;
    for (char c = 'A'; c <= 'H'; ++c)
        out << QString(QLatin1Char(c));
    return out;
}

QStringList limitNames()
{
    QStringList out;
    for (int i = 0; i < EurocodeLimitCount; ++i)
        out << EurocodeLimitName(i);
    return out;
}

QStringList systemNames()
{
    return {QString(), texts::SystemTypeNames[0], texts::SystemTypeNames[1], texts::SystemTypeNames[2]};
}

QStringList regionNames(int count, const char *const *keys)
{
    return keyList(keys, count);
}

bool readMaterialAndTexts(Reader &r, const QJsonObject &top, ProjectState &s)
{
    const auto lengths = r.object(top.value(QStringLiteral("lengths")), QStringLiteral("lengths"),
                                  regionNames(RegionCount, LengthKeys));
    if (!lengths)
        return false;
    for (int i = 0; i < RegionCount; ++i)
        if (!r.text(*lengths, QStringLiteral("lengths"), key(LengthKeys[i]), s.texts.lengths[i]))
            return false;

    const auto uniform = r.object(top.value(QStringLiteral("uniformLoads")), QStringLiteral("uniformLoads"),
                                  keyList(LoadKeys, LoadTypeCount));
    if (!uniform)
        return false;
    QStringList regionMembers = regionNames(RegionCount, RegionKeys);
    regionMembers << QStringLiteral("sameForAll");
    for (int k = 0; k < LoadTypeCount; ++k) {
        const QString path = QStringLiteral("uniformLoads.") + key(LoadKeys[k]);
        const auto load = r.object(uniform->value(key(LoadKeys[k])), path, regionMembers);
        if (!load || !r.boolean(*load, path, QStringLiteral("sameForAll"), s.sameForAll[k]))
            return false;
        for (int region = 0; region < RegionCount; ++region)
            if (!r.text(*load, path, key(RegionKeys[region]), s.texts.uniform[region][k]))
                return false;
    }

    const auto points = r.object(top.value(QStringLiteral("pointLoads")), QStringLiteral("pointLoads"),
                                 regionNames(RegionCount, RegionKeys));
    if (!points)
        return false;
    for (int region = 1; region <= RegionCount; ++region) {
        const QString path = QStringLiteral("pointLoads.") + key(RegionKeys[region - 1]);
        const QJsonValue value = points->value(key(RegionKeys[region - 1]));
        if (!value.isArray())
            return r.fail(path, QStringLiteral("ist keine Liste."));
        const QJsonArray list = value.toArray();
        const int count = EndSlot(region) - FirstSlot(region);
        if (list.size() != count)
            return r.fail(path, QStringLiteral("hat %1 Eintr\u00E4ge; erwartet sind %2.").arg(list.size()).arg(count));
        for (int i = 0; i < count; ++i) {
            const QString entry = QStringLiteral("%1[%2]").arg(path).arg(i);
            const auto load = r.object(list[i], entry, {QStringLiteral("F"), QStringLiteral("a")});
            const int slot = FirstSlot(region) + i;
            if (!load || !r.text(*load, entry, QStringLiteral("F"), s.texts.force[slot])
                || !r.text(*load, entry, QStringLiteral("a"), s.texts.distance[slot]))
                return false;
        }
    }

    const auto material = r.object(top.value(QStringLiteral("material")), QStringLiteral("material"),
                                   {QStringLiteral("timberGrade"), QStringLiteral("steelGrade")});
    return material
        && r.integer(*material, QStringLiteral("material"), QStringLiteral("timberGrade"), 0, TimberGradeCount - 1,
                     s.texts.timberGrade)
        && r.integer(*material, QStringLiteral("material"), QStringLiteral("steelGrade"), 0, SteelGradeCount - 1,
                     s.texts.steelGrade);
}

bool readWindows(Reader &r, const QJsonObject &top, ProjectState &s)
{
    int system = 0;
    if (!r.choice(top, QString(), QStringLiteral("systemName"), systemNames(), system))
        return false;
    s.systemTypeName = systemNames()[system];

    const auto info = r.object(top.value(QStringLiteral("projectInfo")), QStringLiteral("projectInfo"),
                               keyList(InfoKeys, ProjectInfoCount));
    if (!info)
        return false;
    for (int i = 0; i < ProjectInfoCount; ++i)
        if (!r.text(*info, QStringLiteral("projectInfo"), key(InfoKeys[i]), s.info[i]))
            return false;

    const QString results = QStringLiteral("resultsWindow");
    const auto window = r.object(top.value(results), results,
                                 {QStringLiteral("width"), QStringLiteral("spanLimit"), QStringLiteral("cantileverLimit"),
                                  QStringLiteral("series")});
    if (!window || !r.text(*window, results, QStringLiteral("width"), s.results.width)
        || !r.text(*window, results, QStringLiteral("spanLimit"), s.results.spanLimit)
        || !r.text(*window, results, QStringLiteral("cantileverLimit"), s.results.cantileverLimit)
        || !r.choice(*window, results, QStringLiteral("series"), seriesNames(), s.results.series))
        return false;

    const QString path = QStringLiteral("eurocode");
    const auto ec = r.object(top.value(path), path,
                             {QStringLiteral("timberClass"), QStringLiteral("serviceClass"), QStringLiteral("width"),
                              QStringLiteral("height"), QStringLiteral("steelGrade"), QStringLiteral("series"),
                              QStringLiteral("profile"), QStringLiteral("imposedCategory"),
                              QStringLiteral("snowAltitude"), QStringLiteral("pointLoads"), QStringLiteral("limits"),
                              QStringLiteral("diagram")});
    if (!ec)
        return false;
    EurocodeInputs &e = s.eurocode;
    int category = 0;
    int snow = 0;
    if (!r.nameOrNull(*ec, path, QStringLiteral("timberClass"), e.timberClass)
        || !r.integer(*ec, path, QStringLiteral("serviceClass"), 1, 3, e.serviceClass)
        || !r.text(*ec, path, QStringLiteral("width"), e.width) || !r.text(*ec, path, QStringLiteral("height"), e.height)
        || !r.nameOrNull(*ec, path, QStringLiteral("steelGrade"), e.steelGrade)
        || !r.choice(*ec, path, QStringLiteral("series"), seriesNames(), e.series)
        || !r.nameOrNull(*ec, path, QStringLiteral("profile"), e.profile)
        || !r.choice(*ec, path, QStringLiteral("imposedCategory"), categoryNames(), category)
        || !r.choice(*ec, path, QStringLiteral("snowAltitude"), keyList(SnowKeys, 2), snow)
        || !r.choice(*ec, path, QStringLiteral("pointLoads"), keyList(LoadKeys, LoadTypeCount), e.pointLoadAction)
        || !r.choice(*ec, path, QStringLiteral("diagram"), keyList(DiagramKeys, EurocodeDiagramCount), e.diagram))
        return false;
    e.imposedCategory = QChar(u'A' + category);
    e.snowHigh = snow == 1;
    const QString limitsPath = QStringLiteral("eurocode.limits");
    const auto limits = r.object(ec->value(QStringLiteral("limits")), limitsPath, limitNames());
    if (!limits)
        return false;
    for (int i = 0; i < EurocodeLimitCount; ++i)
        if (!r.textOrNull(*limits, limitsPath, EurocodeLimitName(i), e.limits[i]))
            return false;
    return true;
}

// The first fault of a state that the reader would refuse.
QString unstorable(const ProjectState &s)
{
    auto check = [](const QString &text, const QString &member) -> QString {
        const QString problem = textProblem(text);
        return problem.isEmpty() ? QString() : QStringLiteral("%1 %2.").arg(quoted(member), problem);
    };
    QString fault;
    auto add = [&](const QString &text, const QString &member) {
        if (fault.isEmpty())
            fault = check(text, member);
    };
    for (int i = 0; i < RegionCount; ++i)
        add(s.texts.lengths[i], QStringLiteral("lengths.") + key(LengthKeys[i]));
    for (int r = 0; r < RegionCount; ++r)
        for (int k = 0; k < LoadTypeCount; ++k)
            add(s.texts.uniform[r][k], QStringLiteral("uniformLoads.%1.%2").arg(key(LoadKeys[k]), key(RegionKeys[r])));
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        const int region = RegionOfSlot(slot);
        const QString entry = QStringLiteral("pointLoads.%1[%2]").arg(key(RegionKeys[region - 1])).arg(slot - FirstSlot(region));
        add(s.texts.force[slot], entry + QStringLiteral(".F"));
        add(s.texts.distance[slot], entry + QStringLiteral(".a"));
    }
    for (int i = 0; i < ProjectInfoCount; ++i)
        add(s.info[i], QStringLiteral("projectInfo.") + key(InfoKeys[i]));
    add(s.results.width, QStringLiteral("resultsWindow.width"));
    add(s.results.spanLimit, QStringLiteral("resultsWindow.spanLimit"));
    add(s.results.cantileverLimit, QStringLiteral("resultsWindow.cantileverLimit"));
    const EurocodeInputs &e = s.eurocode;
    add(e.timberClass, QStringLiteral("eurocode.timberClass"));
    add(e.width, QStringLiteral("eurocode.width"));
    add(e.height, QStringLiteral("eurocode.height"));
    add(e.steelGrade, QStringLiteral("eurocode.steelGrade"));
    add(e.profile, QStringLiteral("eurocode.profile"));
    for (int i = 0; i < EurocodeLimitCount; ++i)
        if (e.limits[i])
            add(*e.limits[i], QStringLiteral("eurocode.limits.") + EurocodeLimitName(i));
    if (!fault.isEmpty())
        return fault;
    auto outside = [](const QString &member, int value) {
        return QStringLiteral("%1 ist %2 und liegt au\u00DFerhalb seiner Liste.").arg(quoted(member)).arg(value);
    };
    if (s.texts.timberGrade < 0 || s.texts.timberGrade >= TimberGradeCount)
        return outside(QStringLiteral("material.timberGrade"), s.texts.timberGrade);
    if (s.texts.steelGrade < 0 || s.texts.steelGrade >= SteelGradeCount)
        return outside(QStringLiteral("material.steelGrade"), s.texts.steelGrade);
    if (!systemNames().contains(s.systemTypeName))
        return QStringLiteral("%1 ist kein Name eines Systems.").arg(quoted(QStringLiteral("systemName")));
    if (s.results.series < 0 || s.results.series >= SeriesCount)
        return outside(QStringLiteral("resultsWindow.series"), s.results.series);
    if (e.series < 0 || e.series >= SeriesCount)
        return outside(QStringLiteral("eurocode.series"), e.series);
    if (e.serviceClass < 1 || e.serviceClass > 3)
        return outside(QStringLiteral("eurocode.serviceClass"), e.serviceClass);
    if (e.imposedCategory < u'A' || e.imposedCategory > u'H')
        return outside(QStringLiteral("eurocode.imposedCategory"), e.imposedCategory.unicode());
    if (e.pointLoadAction < 0 || e.pointLoadAction >= LoadTypeCount)
        return outside(QStringLiteral("eurocode.pointLoads"), e.pointLoadAction);
    if (e.diagram < 0 || e.diagram >= EurocodeDiagramCount)
        return outside(QStringLiteral("eurocode.diagram"), e.diagram);
    return {};
}

QJsonValue nameValue(const QString &name)
{
    return name.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(name);
}

QString fileError(const QString &path, const QString &what)
{
    return QStringLiteral("Projektdatei %1: %2").arg(quoted(QDir::toNativeSeparators(path)), what);
}

} // namespace

QString SeriesName(int series)
{
    return QString(SeriesAt(series).key());
}

QString EurocodeLimitName(int index)
{
    return QString::fromLatin1(ec::LimitKeys[index]).remove(QStringLiteral("limit."));
}

QByteArray ProjectDocumentBytes(const ProjectState &s, QString *error)
{
    if (const QString fault = unstorable(s); !fault.isEmpty()) {
        if (error)
            *error = fault;
        return {};
    }
    QJsonObject top;
    top.insert(QStringLiteral("format"), ProjectDocumentFormat);
    top.insert(QStringLiteral("version"),
               QStringLiteral("%1.%2").arg(ProjectDocumentMajorVersion).arg(ProjectDocumentMinorVersion));
    top.insert(QStringLiteral("systemName"), s.systemTypeName);

    QJsonObject lengths;
    for (int i = 0; i < RegionCount; ++i)
        lengths.insert(key(LengthKeys[i]), s.texts.lengths[i]);
    top.insert(QStringLiteral("lengths"), lengths);

    QJsonObject uniform;
    for (int k = 0; k < LoadTypeCount; ++k) {
        QJsonObject load{{QStringLiteral("sameForAll"), s.sameForAll[k]}};
        for (int r = 0; r < RegionCount; ++r)
            load.insert(key(RegionKeys[r]), s.texts.uniform[r][k]);
        uniform.insert(key(LoadKeys[k]), load);
    }
    top.insert(QStringLiteral("uniformLoads"), uniform);

    QJsonObject points;
    for (int region = 1; region <= RegionCount; ++region) {
        QJsonArray list;
        for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot)
            list.append(QJsonObject{{QStringLiteral("F"), s.texts.force[slot]}, {QStringLiteral("a"), s.texts.distance[slot]}});
        points.insert(key(RegionKeys[region - 1]), list);
    }
    top.insert(QStringLiteral("pointLoads"), points);

    top.insert(QStringLiteral("material"), QJsonObject{{QStringLiteral("timberGrade"), s.texts.timberGrade},
                                                       {QStringLiteral("steelGrade"), s.texts.steelGrade}});

    QJsonObject info;
    for (int i = 0; i < ProjectInfoCount; ++i)
        info.insert(key(InfoKeys[i]), s.info[i]);
    top.insert(QStringLiteral("projectInfo"), info);

    top.insert(QStringLiteral("resultsWindow"), QJsonObject{{QStringLiteral("width"), s.results.width},
                                                            {QStringLiteral("spanLimit"), s.results.spanLimit},
                                                            {QStringLiteral("cantileverLimit"), s.results.cantileverLimit},
                                                            {QStringLiteral("series"), SeriesName(s.results.series)}});

    const EurocodeInputs &e = s.eurocode;
    QJsonObject limits;
    for (int i = 0; i < EurocodeLimitCount; ++i)
        limits.insert(EurocodeLimitName(i), e.limits[i] ? QJsonValue(*e.limits[i]) : QJsonValue(QJsonValue::Null));
    top.insert(QStringLiteral("eurocode"),
               QJsonObject{{QStringLiteral("timberClass"), nameValue(e.timberClass)},
                           {QStringLiteral("serviceClass"), e.serviceClass},
                           {QStringLiteral("width"), e.width},
                           {QStringLiteral("height"), e.height},
                           {QStringLiteral("steelGrade"), nameValue(e.steelGrade)},
                           {QStringLiteral("series"), SeriesName(e.series)},
                           {QStringLiteral("profile"), nameValue(e.profile)},
                           {QStringLiteral("imposedCategory"), QString(e.imposedCategory)},
                           {QStringLiteral("snowAltitude"), key(SnowKeys[e.snowHigh ? 1 : 0])},
                           {QStringLiteral("pointLoads"), key(LoadKeys[e.pointLoadAction])},
                           {QStringLiteral("limits"), limits},
                           {QStringLiteral("diagram"), key(DiagramKeys[e.diagram])}});
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

bool WriteProjectDocument(const QString &path, const ProjectState &state, QString *error)
{
    QString fault;
    const QByteArray bytes = ProjectDocumentBytes(state, &fault);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("Das Projekt kann nicht gespeichert werden: %1").arg(fault);
        return false;
    }
    QSaveFile file(path);
    // The flush is checked on its own: a write that the disk takes only in
    // part fails while commit() flushes, and QSaveFile would then still put
    // the half file in place of the old one.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        if (error)
            *error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden (%2).")
                         .arg(quoted(QDir::toNativeSeparators(path)), file.errorString());
        return false;
    }
    return true;
}

ProjectDocument ParseProjectDocument(const QByteArray &contents)
{
    ProjectDocument doc;
    auto refuse = [&](const QString &member, const QString &error) {
        doc.member = member;
        doc.error = error;
        return doc;
    };
    if (contents.size() > ProjectDocumentSizeLimit)
        return refuse(QString(), QStringLiteral("Die Datei ist gr\u00F6\u00DFer als %1 MiB.")
                                     .arg(ProjectDocumentSizeLimit / (1024 * 1024)));
    // Editors on other systems put a UTF-8 byte order mark in front.
    const QByteArray text = contents.startsWith("\xEF\xBB\xBF") ? contents.mid(3) : contents;
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refuse(QString(), QStringLiteral("Die Datei ist kein g\u00FCltiges JSON-Dokument (%1, an Stelle %2).")
                                     .arg(parseErrorText(parseError.error))
                                     .arg(parseError.offset));
    if (!json.isObject())
        return refuse(QString(), QStringLiteral("Die Datei enth\u00E4lt kein JSON-Objekt."));
    const QJsonObject top = json.object();

    if (top.value(QStringLiteral("format")) != QJsonValue(ProjectDocumentFormat))
        return refuse(QStringLiteral("format"),
                      QStringLiteral("Die Datei ist keine Varno-Projektdatei (%1 ist nicht %2).")
                          .arg(quoted(QStringLiteral("format")), quoted(ProjectDocumentFormat)));
    const QJsonValue version = top.value(QStringLiteral("version"));
    static const QRegularExpression versionPattern(QStringLiteral("^(0|[1-9][0-9]{0,3})\\.(0|[1-9][0-9]{0,3})$"));
    const QRegularExpressionMatch match = versionPattern.match(version.toString());
    if (!version.isString() || !match.hasMatch())
        return refuse(QStringLiteral("version"), QStringLiteral("%1 ist keine Versionsangabe wie \u201E%2.%3\u201C.")
                                                     .arg(quoted(QStringLiteral("version")))
                                                     .arg(ProjectDocumentMajorVersion)
                                                     .arg(ProjectDocumentMinorVersion));
    const int major = match.captured(1).toInt();
    const int minor = match.captured(2).toInt();
    if (major != ProjectDocumentMajorVersion)
        return refuse(QStringLiteral("version"),
                      QStringLiteral("Die Datei hat das Format %1.%2; dieses Programm liest nur das Format %3.x%4.")
                          .arg(major)
                          .arg(minor)
                          .arg(ProjectDocumentMajorVersion)
                          .arg(major > ProjectDocumentMajorVersion
                                   ? QStringLiteral(" (sie stammt aus einer neueren Programmversion)")
                                   : QString()));

    Reader reader(minor > ProjectDocumentMinorVersion);
    ProjectState state;
    const auto members = reader.object(
        top, QString(),
        {QStringLiteral("format"), QStringLiteral("version"), QStringLiteral("systemName"), QStringLiteral("lengths"),
         QStringLiteral("uniformLoads"), QStringLiteral("pointLoads"), QStringLiteral("material"),
         QStringLiteral("projectInfo"), QStringLiteral("resultsWindow"), QStringLiteral("eurocode")});
    if (!members || !readMaterialAndTexts(reader, *members, state) || !readWindows(reader, *members, state))
        return refuse(reader.member(), reader.error());
    doc.ok = true;
    doc.state = state;
    doc.ignored = reader.ignored();
    return doc;
}

ProjectDocument ReadProjectDocument(const QString &path)
{
    ProjectDocument doc;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        doc.error = QStringLiteral("Die Datei %1 kann nicht gelesen werden (%2).")
                        .arg(quoted(QDir::toNativeSeparators(path)), file.errorString());
        return doc;
    }
    // One byte more than the limit tells a file at the limit from a larger one.
    const QByteArray contents = file.read(ProjectDocumentSizeLimit + 1);
    if (file.error() != QFileDevice::NoError) {
        doc.error = QStringLiteral("Die Datei %1 kann nicht gelesen werden (%2).")
                        .arg(quoted(QDir::toNativeSeparators(path)), file.errorString());
        return doc;
    }
    doc = ParseProjectDocument(contents);
    if (!doc.ok)
        doc.error = fileError(path, doc.error);
    return doc;
}

bool IsProjectDocument(const QString &path, const QByteArray &start)
{
    if (path.endsWith(u'.' + ProjectDocumentSuffix, Qt::CaseInsensitive))
        return true;
    if (path.endsWith(QLatin1String(".lof"), Qt::CaseInsensitive))
        return false;
    qsizetype i = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < start.size() && (start[i] == ' ' || start[i] == '\t' || start[i] == '\r' || start[i] == '\n'))
        ++i;
    return i < start.size() && start[i] == '{';
}

QString UnknownEurocodeName(const EurocodeInputs &inputs, const ec::Data &data)
{
    if (!inputs.timberClass.isEmpty() && !data.timberClass(inputs.timberClass))
        return QStringLiteral("%1: Die Festigkeitsklasse %2 steht nicht in den Eurocode-Daten.")
            .arg(quoted(QStringLiteral("eurocode.timberClass")), quoted(inputs.timberClass));
    if (!inputs.steelGrade.isEmpty() && !data.steelGrade(inputs.steelGrade))
        return QStringLiteral("%1: Die Stahlsorte %2 steht nicht in den Eurocode-Daten.")
            .arg(quoted(QStringLiteral("eurocode.steelGrade")), quoted(inputs.steelGrade));
    if (!inputs.profile.isEmpty()) {
        const ec::Profile *profile = data.profile(inputs.profile);
        if (!profile)
            return QStringLiteral("%1: Das Profil %2 steht nicht in den Eurocode-Daten.")
                .arg(quoted(QStringLiteral("eurocode.profile")), quoted(inputs.profile));
        if (profile->series != ec::SeriesKey(SeriesName(inputs.series)))
            return QStringLiteral("%1: Das Profil %2 geh\u00F6rt nicht zur Reihe %3.")
                .arg(quoted(QStringLiteral("eurocode.profile")), quoted(inputs.profile), SeriesName(inputs.series));
    }
    return {};
}

} // namespace varno
