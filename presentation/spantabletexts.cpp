// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/spantabletexts.h"

#include "presentation/ectexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace varno {

namespace {

using ec::SpanStatus;

// The short mark of the check that limits a span.
QString markOf(const QString &id)
{
    static const std::pair<const char *, const char *> marks[] = {
        {"bending", "M"},          {"shear", "V"},           {"bendingShear", "MV"},
        {"deflection", "w"},       {"deflectionInst", "wi"}, {"deflectionFin", "wf"},
        {"deflectionNetFin", "wn"}};
    for (const auto &[checkId, mark] : marks)
        if (id == QLatin1String(checkId))
            return QLatin1String(mark);
    return {};
}

QString statusKey(SpanStatus status)
{
    switch (status) {
    case SpanStatus::Found:
        return QStringLiteral("found");
    case SpanStatus::NoSpan:
        return QStringLiteral("noSpan");
    case SpanStatus::AtBound:
        return QStringLiteral("atBound");
    case SpanStatus::Refused:
        break;
    }
    return QStringLiteral("refused");
}

QString systemTitle(int spans)
{
    switch (spans) {
    case 1:
        return QStringLiteral("Einfeldträger");
    case 2:
        return QStringLiteral("Zweifeldträger, zwei gleiche Felder");
    default:
        return QStringLiteral("Dreifeldträger, drei gleiche Felder");
    }
}

// A number as typed: "6", "6,5", "0,625"; no group separators.
QString plain(double v, const QLocale &locale)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(v, 'g', 10);
}

QByteArray shortest(double v)
{
    return QByteArray::number(WithoutNegativeZero(v), 'f', QLocale::FloatingPointShortest);
}

class Builder
{
public:
    Builder(const SpanTableRun &run, const QLocale &locale) : m_run(run), m_locale(locale) {}
    SpanTablePresentation build();

private:
    bool timber() const { return m_run.request.material == ec::SpanMaterial::Timber; }
    EcPresentation presentEntry(const ec::SpanEntry &e) const;
    SpanCell cell(const ec::SpanEntry &e, SpanTablePresentation &p);
    QString sectionName(const ec::SpanSection &s) const
    {
        return timber() ? QStringLiteral("%1/%2").arg(plain(s.bCm, m_locale), plain(s.hCm, m_locale)) : s.profile;
    }
    QString loadName(int loadCase) const
    {
        const ec::SpanLoadCase &c =
            m_run.spacing ? m_run.areaLoads[std::size_t(loadCase)] : m_run.request.loadCases[std::size_t(loadCase)];
        return QStringLiteral("%1/%2").arg(FormatFixed(c.g, 2, m_locale), FormatFixed(c.q, 2, m_locale));
    }

    const SpanTableRun &m_run;
    const QLocale &m_locale;
    QStringList m_uncited;                 // every key behind a "*"
    QStringList m_valueTexts;
    QStringList m_legendIds;
    QStringList m_legendNames;
    QStringList m_assumptions;
};

EcPresentation Builder::presentEntry(const ec::SpanEntry &e) const
{
    EcRun r;
    r.inputs.options = m_run.request.options;
    r.inputs.options.timber = timber();
    r.inputs.options.steel = !timber();
    r.output.result.timber = e.timber;
    r.output.result.steel = e.steel;
    r.output.result.actionValues = m_run.table.actionValues;
    r.ran = true;
    return PresentEurocode(r, m_locale);
}

SpanCell Builder::cell(const ec::SpanEntry &e, SpanTablePresentation &p)
{
    SpanCell c;
    c.status = e.status;
    if (e.status == SpanStatus::Refused) {
        c.text = QStringLiteral("\u2013");
        return c;
    }
    c.span = e.spanCm / 100.0;
    // The entry's check, as the check's own outputs show it: its names,
    // the values that entered it and their sources.
    const EcPresentation shown = presentEntry(e);
    if (shown.members.empty())
        return c;
    const EcMember &m = shown.members.front();
    for (const EcValueRow &v : shown.actionValues)
        if (!m_valueTexts.contains(v.text)) {
            m_valueTexts << v.text;
            p.values.push_back(v);
        }
    for (const EcValueRow &v : m.values)
        if (!m_valueTexts.contains(v.text)) {
            m_valueTexts << v.text;
            p.values.push_back(v);
        }
    // The check's assumptions, but those of point loads (a table has none)
    // and of the other material.
    if (m_assumptions.isEmpty())
        for (const QString &a : shown.assumptions)
            if (!a.contains(QLatin1String("Einzellasten"))
                && !a.startsWith(timber() ? QLatin1String("Stahl:") : QLatin1String("Holz:")))
                m_assumptions << a;
    if (e.status != SpanStatus::AtBound) {
        c.governing = e.limiting;
        c.mark = markOf(e.limiting);
    }
    if (c.governing == QLatin1String("unusable") && !m.unusable.isEmpty())
        c.reason = m.unusable.front();
    for (const EcCheck &check : m.checks) {
        // The limiting check, or every check where the bound passes; a
        // profile that may not be used names what bars it (η among them).
        const bool entered = e.status == SpanStatus::AtBound ? check.done
                             : c.governing == QLatin1String("unusable") ? check.id == QLatin1String("shear")
                                                                         : check.id == c.governing;
        if (!entered)
            continue;
        for (const QString &key : check.uncited)
            if (!c.uncited.contains(key))
                c.uncited << key;
        if (check.id == c.governing && !m_legendIds.contains(check.id)) {
            m_legendIds << check.id;
            m_legendNames << QStringLiteral("%1: %2").arg(c.mark, check.name);
        }
    }
    for (const QString &key : std::as_const(c.uncited))
        if (!m_uncited.contains(key))
            m_uncited << key;
    const QString star = c.uncited.isEmpty() ? QString() : QStringLiteral("*");
    switch (e.status) {
    case SpanStatus::Found:
        c.text = QStringLiteral("%1 %2%3").arg(FormatFixed(c.span, 2, m_locale), c.mark, star);
        break;
    case SpanStatus::NoSpan:
        c.text = c.governing == QLatin1String("unusable") ? QStringLiteral("nicht verwendbar")
                                                           : QStringLiteral("keine %1%2").arg(c.mark, star);
        break;
    case SpanStatus::AtBound:
        c.text = QStringLiteral("\u2265 %1%2").arg(FormatFixed(c.span, 2, m_locale), star);
        break;
    case SpanStatus::Refused:
        break;
    }
    return c;
}

SpanTablePresentation Builder::build()
{
    SpanTablePresentation p;
    p.title = SpanTableTitle;
    const ec::SpanTableRequest &rq = m_run.request;
    const ec::SpanTable &t = m_run.table;
    for (const ec::DataProblem &problem : t.problems)
        p.problems << EcProblemText(problem);
    if (!p.problems.isEmpty())
        return p;

    const ec::CheckOptions &o = rq.options;
    if (timber()) {
        const bool glulam = !t.entries.empty() && t.entries.front().timber.glulam;
        p.options << QStringLiteral("Holz %1 (%2), Nutzungsklasse %3")
                         .arg(o.timberClass, glulam ? QStringLiteral("Brettschichtholz") : QStringLiteral("Vollholz"))
                         .arg(o.serviceClass);
    } else {
        p.options << QStringLiteral("Stahl %1").arg(o.steelGrade);
    }
    p.options << QStringLiteral("Eigenlast g ständig, Nutzlast q der Kategorie %1").arg(QString(o.imposedCategory));
    p.options << (m_run.spacing ? QStringLiteral("Lasten: Flächenlasten g und q in kN/m², mit dem Abstand e = %1 m "
                                                 "als Streckenlasten auf jedem Feld")
                                      .arg(plain(*m_run.spacing, m_locale))
                                : QStringLiteral("Lasten: Streckenlasten g und q in kN/m auf jedem Feld"));
    QStringList systems;
    for (int spans : rq.systems)
        systems << systemTitle(spans).section(u',', 0, 0);
    p.options << QStringLiteral("Systeme: %1; gleiche Felder, keine Kragarme, starre Auflager")
                     .arg(systems.join(QStringLiteral(", ")));
    p.options << QStringLiteral("Eintrag: die größte Spannweite l in ganzen cm, bei der jeder Nachweis erfüllt ist, "
                                "durch Halbierung von %1 m bis %2 m gesucht, jeder Schritt mit dem ganzen Nachweis")
                     .arg(FormatFixed(ec::ShortestSpanCm / 100.0, 2, m_locale),
                          FormatFixed(ec::SpanBoundCm / 100.0, 2, m_locale));
    p.loadUnit = m_run.spacing ? QStringLiteral("Spalten: g/q in kN/m² (e = %1 m)").arg(plain(*m_run.spacing, m_locale))
                               : QStringLiteral("Spalten: g/q in kN/m");

    for (std::size_t s = 0; s < rq.systems.size(); ++s) {
        SpanTablePart part;
        part.spans = rq.systems[s];
        part.title = systemTitle(part.spans);
        part.columnHeads << (timber() ? QStringLiteral("b/h [cm]") : QStringLiteral("Profil"));
        for (int l = 0; l < t.loadCases; ++l)
            part.columnHeads << loadName(l);
        for (int k = 0; k < t.sections; ++k) {
            part.rowHeads << sectionName(rq.sections[std::size_t(k)]);
            std::vector<SpanCell> row;
            for (int l = 0; l < t.loadCases; ++l) {
                const ec::SpanEntry &e = t.at(int(s), l, k);
                row.push_back(cell(e, p));
                const QString where = QStringLiteral("%1, %2, g/q = %3").arg(part.title.section(u',', 0, 0),
                                                                            part.rowHeads.back(), loadName(l));
                switch (e.status) {
                case SpanStatus::Found:
                    break;
                case SpanStatus::NoSpan:
                    p.errors << (row.back().governing == QLatin1String("unusable")
                                     ? QStringLiteral("%1: das Profil ist nicht verwendbar (%2)").arg(where, row.back().reason)
                                     : QStringLiteral("%1: keine Spannweite ab %2 m erfüllt jeden Nachweis")
                                           .arg(where, FormatFixed(ec::ShortestSpanCm / 100.0, 2, m_locale)));
                    break;
                case SpanStatus::AtBound:
                    p.errors << QStringLiteral("%1: auch %2 m erfüllt jeden Nachweis, die größte Spannweite liegt "
                                               "darüber")
                                    .arg(where, FormatFixed(ec::SpanBoundCm / 100.0, 2, m_locale));
                    break;
                case SpanStatus::Refused:
                    p.errors << QStringLiteral("%1: der Träger kann nicht berechnet werden").arg(where);
                    break;
                }
            }
            part.cells.push_back(std::move(row));
        }
        p.tables.push_back(std::move(part));
    }
    p.legend = m_legendNames;
    if (!m_uncited.isEmpty())
        p.sourceNote = QStringLiteral("*: beruht auf Werten ohne zitierfähige Quelle (%1): %2")
                           .arg(EcUncited, m_uncited.join(QStringLiteral(", ")));
    p.assumptions = m_assumptions;
    return p;
}

// Columns padded to their widest text.
QStringList aligned(const std::vector<QStringList> &rows)
{
    std::vector<qsizetype> width;
    for (const QStringList &row : rows)
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (std::size_t(c) >= width.size())
                width.push_back(0);
            width[std::size_t(c)] = std::max(width[std::size_t(c)], row[c].size());
        }
    QStringList lines;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += (c == 0 ? row[c].leftJustified(width[0]) : QStringLiteral("  ") + row[c].rightJustified(width[std::size_t(c)]));
        lines << line;
    }
    return lines;
}

QByteArray csvField(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n')) {
        bytes.replace('"', "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

} // namespace

SpanTablePresentation PresentSpanTable(const SpanTableRun &run, const QLocale &locale)
{
    return Builder(run, locale).build();
}

QStringList SpanTableTextLines(const SpanTablePresentation &p)
{
    QStringList lines{p.title};
    if (!p.problems.isEmpty()) {
        for (const QString &problem : p.problems)
            lines << QStringLiteral("  nicht berechnet: ") + problem;
        return lines;
    }
    for (const QString &o : p.options)
        lines << o;
    for (const SpanTablePart &part : p.tables) {
        lines << QString() << part.title << p.loadUnit;
        std::vector<QStringList> rows{part.columnHeads};
        for (std::size_t k = 0; k < part.cells.size(); ++k) {
            QStringList row{part.rowHeads[qsizetype(k)]};
            for (const SpanCell &c : part.cells[k])
                row << c.text;
            rows.push_back(row);
        }
        lines << aligned(rows);
    }
    lines << QString();
    if (!p.legend.isEmpty())
        lines << QStringLiteral("Maßgebend: ") + p.legend.join(QStringLiteral("; "));
    if (!p.sourceNote.isEmpty())
        lines << p.sourceNote;
    for (const QString &e : p.errors)
        lines << QStringLiteral("Nicht gefunden: ") + e;
    lines << QStringLiteral("Annahmen:");
    for (const QString &a : p.assumptions)
        lines << QStringLiteral("  ") + a;
    lines << QStringLiteral("Verwendete Werte [Quellenschlüssel]:");
    for (const EcValueRow &v : p.values)
        lines << QStringLiteral("  ") + v.text;
    return lines;
}

QByteArray SpanTableCsv(const SpanTableRun &run, const SpanTablePresentation &p)
{
    QByteArray out = "spans,load_case,g_kN_m,q_kN_m,section,b_cm,h_cm,span_m,status,governs,uncited_values\n";
    const bool timber = run.request.material == ec::SpanMaterial::Timber;
    for (const SpanTablePart &part : p.tables)
        for (std::size_t l = 0; l < run.request.loadCases.size(); ++l)
            for (std::size_t k = 0; k < part.cells.size(); ++k) {
                const SpanCell &c = part.cells[k][l];
                const ec::SpanSection &s = run.request.sections[k];
                const ec::SpanLoadCase &loads = run.request.loadCases[l];
                const bool span = c.status == ec::SpanStatus::Found || c.status == ec::SpanStatus::AtBound;
                out += QByteArray::number(part.spans) + ',' + QByteArray::number(qulonglong(l + 1)) + ','
                       + shortest(loads.g) + ',' + shortest(loads.q) + ','
                       + csvField(timber ? QStringLiteral("%1x%2").arg(s.bCm).arg(s.hCm) : s.profile) + ','
                       + (timber ? shortest(s.bCm) + ',' + shortest(s.hCm) : QByteArray(",")) + ','
                       + (span ? QByteArray::number(c.span, 'f', 2) : QByteArray()) + ','
                       + statusKey(c.status).toUtf8() + ',' + c.governing.toUtf8() + ','
                       + c.uncited.join(u';').toUtf8() + '\n';
            }
    return out;
}

QByteArray SpanTableJson(const SpanTableRun &run, const SpanTablePresentation &p)
{
    const ec::SpanTableRequest &rq = run.request;
    const bool timber = rq.material == ec::SpanMaterial::Timber;
    QJsonObject out{{QStringLiteral("met"), p.met()}};
    if (!p.problems.isEmpty()) {
        out.insert(QStringLiteral("errors"), QJsonArray::fromStringList(p.problems));
        return QJsonDocument(QJsonObject{{QStringLiteral("spanTable"), out}}).toJson(QJsonDocument::Compact);
    }
    if (!p.errors.isEmpty())
        out.insert(QStringLiteral("errors"), QJsonArray::fromStringList(p.errors));
    out.insert(QStringLiteral("material"), timber ? QStringLiteral("timber") : QStringLiteral("steel"));
    if (timber) {
        out.insert(QStringLiteral("class"), rq.options.timberClass);
        out.insert(QStringLiteral("serviceClass"), rq.options.serviceClass);
    } else {
        out.insert(QStringLiteral("grade"), rq.options.steelGrade);
    }
    out.insert(QStringLiteral("imposedCategory"), QString(rq.options.imposedCategory));
    if (run.spacing)
        out.insert(QStringLiteral("spacing"), *run.spacing);
    out.insert(QStringLiteral("shortest"), ec::ShortestSpanCm / 100.0);
    out.insert(QStringLiteral("bound"), ec::SpanBoundCm / 100.0);
    QJsonArray loads;
    for (std::size_t l = 0; l < rq.loadCases.size(); ++l) {
        QJsonObject c{{QStringLiteral("g"), rq.loadCases[l].g}, {QStringLiteral("q"), rq.loadCases[l].q}};
        if (run.spacing) {
            c.insert(QStringLiteral("gArea"), run.areaLoads[l].g);
            c.insert(QStringLiteral("qArea"), run.areaLoads[l].q);
        }
        loads.append(c);
    }
    out.insert(QStringLiteral("loadCases"), loads);
    QJsonArray sections;
    for (const ec::SpanSection &s : rq.sections)
        sections.append(timber ? QJsonObject{{QStringLiteral("b"), s.bCm}, {QStringLiteral("h"), s.hCm}}
                               : QJsonObject{{QStringLiteral("profile"), s.profile}});
    out.insert(QStringLiteral("sections"), sections);
    QJsonArray tables;
    for (const SpanTablePart &part : p.tables) {
        QJsonArray rows;
        for (const std::vector<SpanCell> &row : part.cells) {
            QJsonArray cells;
            for (const SpanCell &c : row) {
                QJsonObject e{{QStringLiteral("status"), statusKey(c.status)}};
                if (c.status == ec::SpanStatus::Found || c.status == ec::SpanStatus::AtBound)
                    e.insert(QStringLiteral("span"), c.span);
                if (!c.governing.isEmpty())
                    e.insert(QStringLiteral("governs"), c.governing);
                if (!c.uncited.isEmpty())
                    e.insert(QStringLiteral("uncitedValues"), QJsonArray::fromStringList(c.uncited));
                cells.append(e);
            }
            rows.append(cells);
        }
        tables.append(QJsonObject{{QStringLiteral("spans"), part.spans}, {QStringLiteral("entries"), rows}});
    }
    out.insert(QStringLiteral("tables"), tables);
    QJsonArray values;
    for (const EcValueRow &v : p.values) {
        QJsonObject o{{QStringLiteral("name"), v.name},
                      {QStringLiteral("group"), v.group},
                      {QStringLiteral("key"), v.key},
                      {QStringLiteral("source"), v.cited ? QStringLiteral("belegt") : EcUncited}};
        if (!v.duration.isEmpty())
            o.insert(QStringLiteral("value"), v.duration);
        else if (std::isfinite(v.value))
            o.insert(QStringLiteral("value"), WithoutNegativeZero(v.value));
        values.append(o);
    }
    out.insert(QStringLiteral("values"), values);
    return QJsonDocument(QJsonObject{{QStringLiteral("spanTable"), out}}).toJson(QJsonDocument::Compact);
}

} // namespace varno
