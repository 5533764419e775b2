// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/ecdata.h"

#include "model/systemerror.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cmath>

namespace varno::ec {

namespace {

const QString NotFound = QStringLiteral("not found in a citable source");

struct Row
{
    int line = 0;
    QStringList fields;
};

struct Table
{
    QString file;
    QStringList header;
    std::vector<Row> rows;
    bool ok = false;

    int column(const QString &name) const { return int(header.indexOf(name)); }
};

Table readTable(const QString &directory, const char *name, std::vector<DataProblem> &problems)
{
    Table t;
    t.file = QString::fromLatin1(name);
    QFile f(QDir(directory).filePath(t.file));
    if (!f.open(QIODevice::ReadOnly)) {
        problems.push_back({DataProblem::NoFile, t.file, 0, {}, SystemErrorText(f)});
        return t;
    }
    const QByteArray bytes = f.read(MaxDataFileBytes + 1);
    if (f.error() != QFileDevice::NoError) {
        problems.push_back({DataProblem::NoFile, t.file, 0, {}, f.errorString()});
        return t;
    }
    if (bytes.size() > MaxDataFileBytes) {
        problems.push_back({DataProblem::TooLarge, t.file, 0, {}, {}});
        return t;
    }
    // Lines end with CR LF, LF or CR alone (an old Mac editor).
    QString all = QString::fromUtf8(bytes);
    if (bytes.contains('\r')) {
        all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        all.replace(u'\r', u'\n');
    }
    const QStringList lines = all.split(u'\n');
    int line = 0;
    for (const QString &text : lines) {
        ++line;
        if (text.trimmed().isEmpty())
            continue;
        QStringList fields;
        if (!SplitCsvLine(text, fields)) {
            problems.push_back({DataProblem::BadRow, t.file, line, {}, text});
            continue;
        }
        if (t.header.isEmpty()) {
            t.header = fields;
            continue;
        }
        if (fields.size() != t.header.size()) {
            problems.push_back({DataProblem::BadRow, t.file, line, {}, text});
            continue;
        }
        t.rows.push_back({line, fields});
    }
    if (t.header.isEmpty()) {
        problems.push_back({DataProblem::NoHeader, t.file, 0, {}, {}});
        return t;
    }
    t.ok = true;
    return t;
}

// Reads the named columns of a table; a missing column is one problem.
class RowReader
{
public:
    RowReader(const Table &t, std::vector<DataProblem> &problems) : t_(t), problems_(problems) {}

    bool has(std::initializer_list<const char *> names)
    {
        bool ok = t_.ok;
        for (const char *n : names)
            if (t_.ok && t_.column(QString::fromLatin1(n)) < 0) {
                problems_.push_back({DataProblem::NoColumn, t_.file, 1, QString::fromLatin1(n), {}});
                ok = false;
            }
        return ok;
    }

    QString text(const Row &row, const char *name) const
    {
        return row.fields[t_.column(QString::fromLatin1(name))].trimmed();
    }

    // A finite number greater than 0 (with `zeroAllowed`: not below 0),
    // else a problem naming file, line, column and text.
    bool number(const Row &row, const char *name, double &out, bool zeroAllowed = false)
    {
        const QString s = text(row, name);
        bool ok = false;
        const double v = s.toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            problems_.push_back({DataProblem::BadNumber, t_.file, row.line, QString::fromLatin1(name), s});
            return false;
        }
        if (zeroAllowed ? v < 0 : !(v > 0)) {
            problems_.push_back({DataProblem::NotPositive, t_.file, row.line, QString::fromLatin1(name), s});
            return false;
        }
        out = v;
        return true;
    }

    // False, with a problem naming both lines, when a row before (in this
    // or, for keyed values, another file) holds the same name.
    bool unique(const Row &row, const char *column, QHash<QString, std::pair<QString, int>> &seen)
    {
        const QString name = text(row, column);
        const auto it = seen.constFind(name);
        if (it == seen.constEnd()) {
            seen.insert(name, {t_.file, row.line});
            return true;
        }
        problems_.push_back({DataProblem::Duplicate, t_.file, row.line, QString::fromLatin1(column), name, it->first,
                             it->second});
        return false;
    }

    bool cited(const Row &row) const { return text(row, "status") != NotFound; }

private:
    const Table &t_;
    std::vector<DataProblem> &problems_;
};

using Seen = QHash<QString, std::pair<QString, int>>;

// The factors that may be 0: the combination factors ψ and the partial
// factor of a favourable variable action.
bool zeroAllowed(const QString &key)
{
    return key.startsWith(QLatin1String("psi")) || key == QLatin1String("gamma.Q.inf");
}

void readKeyedValues(const Table &t, const char *valueColumn, Data &data, Seen &keys,
                     std::vector<DataProblem> &problems)
{
    RowReader r(t, problems);
    if (!r.has({"key", valueColumn, "status"}))
        return;
    for (const Row &row : t.rows) {
        const QString key = r.text(row, "key");
        double v = 0;
        if (!r.unique(row, "key", keys) || !r.number(row, valueColumn, v, zeroAllowed(key)))
            continue;
        data.values.insert(key, {v, key, r.cited(row)});
        data.valueFile.insert(key, t.file);
    }
}

} // namespace

std::optional<Duration> DurationByName(const QString &name)
{
    for (int d = 0; d < DurationCount; ++d)
        if (name == DurationName(Duration(d)))
            return Duration(d);
    return std::nullopt;
}

QLatin1String DurationName(Duration d)
{
    static const char *const names[DurationCount] = {"permanent", "long", "medium",
                                                     "short", "short_instantaneous", "instantaneous"};
    return QLatin1String(names[d]);
}

bool SplitCsvLine(const QString &line, QStringList &fields)
{
    fields.clear();
    QString field;
    bool quoted = false;
    const QChar *d = line.constData();
    const qsizetype n = line.size();
    qsizetype run = 0;   // start of the characters not yet taken into `field`
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = d[i];
        if (quoted) {
            if (c != u'"')
                continue;
            field.append(d + run, i - run);
            if (i + 1 < n && d[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else {
                quoted = false;
            }
            run = i + 1;
        } else if (c == u'"' || c == u',') {
            field.append(d + run, i - run);
            run = i + 1;
            if (c == u'"') {
                quoted = true;
            } else {
                fields << field;
                field.clear();
            }
        }
    }
    field.append(d + run, n - run);
    fields << field;
    return !quoted;
}

const TimberClass *Data::timberClass(const QString &name) const
{
    for (const TimberClass &c : timber)
        if (c.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const SteelGrade *Data::steelGrade(const QString &name) const
{
    for (const SteelGrade &g : steel)
        if (g.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return &g;
    return nullptr;
}

const Profile *Data::profile(const QString &designation) const
{
    const QString wanted = designation.simplified().remove(u' ').remove(u'-');
    for (const Profile &p : profiles)
        if (QString(p.designation).remove(u' ').compare(wanted, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

Data ReadData(const QString &directory, std::vector<DataProblem> &problems)
{
    Data data;
    // Keys and names already read: a second row never replaces the first.
    Seen keys;

    {
        const Table t = readTable(directory, "timber_classes.csv", problems);
        RowReader r(t, problems);
        Seen names;
        if (r.has({"key", "class", "material", "fm_k_Nmm2", "fv_k_Nmm2", "E0_mean_Nmm2", "E0_05_Nmm2",
                   "G_mean_Nmm2", "rho_k_kgm3", "fc_90_k_Nmm2", "status"}))
            for (const Row &row : t.rows) {
                if (!r.unique(row, "key", keys) || !r.unique(row, "class", names))
                    continue;
                TimberClass c;
                c.name = r.text(row, "class");
                c.glulam = r.text(row, "material") == QLatin1String("glulam");
                const QString key = r.text(row, "key");
                const bool cited = r.cited(row);
                bool ok = true;
                for (auto [column, target] : {std::pair{"fm_k_Nmm2", &c.fmk}, std::pair{"fv_k_Nmm2", &c.fvk},
                                              std::pair{"E0_mean_Nmm2", &c.E0mean}, std::pair{"E0_05_Nmm2", &c.E005},
                                              std::pair{"G_mean_Nmm2", &c.Gmean}, std::pair{"rho_k_kgm3", &c.rhok},
                                              std::pair{"fc_90_k_Nmm2", &c.fc90k}}) {
                    ok = r.number(row, column, target->value) && ok;
                    target->key = key;
                    target->cited = cited;
                }
                if (ok)
                    data.timber.push_back(c);
            }
    }
    for (const char *name : {"timber_factors.csv", "actions.csv"})
        readKeyedValues(readTable(directory, name, problems), "value", data, keys, problems);
    readKeyedValues(readTable(directory, "deflection_limits.csv", problems), "span_ratio", data, keys, problems);
    readKeyedValues(readTable(directory, "steel_classification.csv", problems), "limit_factor", data, keys,
                    problems);
    readKeyedValues(readTable(directory, "steel_stability.csv", problems), "value", data, keys, problems);
    {
        const Table t = readTable(directory, "load_duration.csv", problems);
        RowReader r(t, problems);
        if (r.has({"key", "load_duration", "status"}))
            for (const Row &row : t.rows) {
                if (!r.unique(row, "key", keys))
                    continue;
                const QString key = r.text(row, "key");
                const std::optional<Duration> d = DurationByName(r.text(row, "load_duration"));
                if (!d) {
                    problems.push_back({DataProblem::BadNumber, t.file, row.line, QStringLiteral("load_duration"),
                                        r.text(row, "load_duration")});
                    continue;
                }
                data.durations.insert(key, {double(*d), key, r.cited(row)});
            }
    }
    {
        const Table t = readTable(directory, "steel_grades.csv", problems);
        RowReader r(t, problems);
        Seen names;
        if (r.has({"key", "grade", "fy_Nmm2", "fu_Nmm2", "E_Nmm2", "gamma_M0", "gamma_M1", "status"}))
            for (const Row &row : t.rows) {
                if (!r.unique(row, "key", keys) || !r.unique(row, "grade", names))
                    continue;
                SteelGrade g;
                g.name = r.text(row, "grade");
                const QString key = r.text(row, "key");
                const bool cited = r.cited(row);
                bool ok = true;
                for (auto [column, target] : {std::pair{"fy_Nmm2", &g.fy}, std::pair{"fu_Nmm2", &g.fu},
                                              std::pair{"E_Nmm2", &g.E}, std::pair{"gamma_M0", &g.gammaM0},
                                              std::pair{"gamma_M1", &g.gammaM1}}) {
                    ok = r.number(row, column, target->value) && ok;
                    target->key = key;
                    target->cited = cited;
                }
                if (ok)
                    data.steel.push_back(g);
            }
    }
    {
        const Table t = readTable(directory, "steel_profiles_ec.csv", problems);
        RowReader r(t, problems);
        Seen names;
        if (r.has({"key", "designation", "series", "h_mm", "b_mm", "tw_mm", "tf_mm", "r_mm", "Wpl_y_cm3", "Avz_cm2",
                   "A_cm2", "Iy_cm4", "mass_kgm", "Iz_cm4", "It_cm4", "Iw_cm6", "status"}))
            for (const Row &row : t.rows) {
                if (!r.unique(row, "key", keys) || !r.unique(row, "designation", names))
                    continue;
                Profile p;
                p.designation = r.text(row, "designation");
                p.series = r.text(row, "series");
                p.key = r.text(row, "key");
                p.cited = r.cited(row);
                bool ok = true;
                // A rolled section without root radius is possible, nothing else of 0.
                for (auto [column, target] : {std::pair{"h_mm", &p.h}, std::pair{"b_mm", &p.b},
                                              std::pair{"tw_mm", &p.tw}, std::pair{"tf_mm", &p.tf},
                                              std::pair{"r_mm", &p.r}, std::pair{"Wpl_y_cm3", &p.Wpl},
                                              std::pair{"Avz_cm2", &p.Av}, std::pair{"A_cm2", &p.A},
                                              std::pair{"Iy_cm4", &p.Iy}, std::pair{"mass_kgm", &p.mass},
                                              std::pair{"Iz_cm4", &p.Iz}, std::pair{"It_cm4", &p.It},
                                              std::pair{"Iw_cm6", &p.Iw}})
                    ok = r.number(row, column, *target, target == &p.r) && ok;
                if (ok)
                    data.profiles.push_back(p);
            }
    }
    {
        const Table t = readTable(directory, "timber_grade_mapping.csv", problems);
        RowReader r(t, problems);
        Seen names;
        if (r.has({"key", "din_grade", "ec_class", "status"}))
            for (const Row &row : t.rows) {
                if (!r.unique(row, "key", keys) || !r.unique(row, "din_grade", names))
                    continue;
                const QString grade = r.text(row, "din_grade");
                data.gradeMapping.insert(grade, {0, r.text(row, "key"), r.cited(row)});
                data.ecClassOfGrade.insert(grade, r.text(row, "ec_class"));
            }
    }
    return data;
}

Value Lookup::value(const QString &key)
{
    const auto it = data_.values.constFind(key);
    if (it != data_.values.constEnd())
        return *it;
    failed_ = true;
    QString file = QStringLiteral("timber_factors.csv");
    if (key.startsWith(QLatin1String("gamma.")) || key.startsWith(QLatin1String("psi")))
        file = QStringLiteral("actions.csv");
    else if (key.startsWith(QLatin1String("limit.")))
        file = QStringLiteral("deflection_limits.csv");
    else if (key.startsWith(QLatin1String("c_t.")) || key.startsWith(QLatin1String("shear_buckling.")))
        file = QStringLiteral("steel_classification.csv");
    else if (key.startsWith(QLatin1String("steel.")))
        file = QStringLiteral("steel_stability.csv");
    problems_.push_back({DataProblem::NoKey, file, 0, key, {}});
    return {0, key, false};
}

std::optional<Duration> Lookup::duration(const QString &key, Value *used)
{
    const auto it = data_.durations.constFind(key);
    if (it == data_.durations.constEnd()) {
        failed_ = true;
        problems_.push_back({DataProblem::NoKey, QStringLiteral("load_duration.csv"), 0, key, {}});
        return std::nullopt;
    }
    if (used)
        *used = *it;
    return Duration(int(it->value));
}

} // namespace varno::ec
