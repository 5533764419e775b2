// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "design/design.h"
#include "design/series.h"

#include "model/projectmodel.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <optional>
#include <cmath>

namespace varno {

namespace {

const QString NotFinite = QStringLiteral("die Bemessung ergibt keinen endlichen Wert");

// Where each series starts on a line of the profile table and how many
// columns it has: SteelSeriesTable.
constexpr int ProfileFieldWidth = 6;
constexpr int ProfileValueLines = 3;   // shear area, Iy, Wy
constexpr int ProfileLines = 4;        // and the designation

QString quoted(const QString &text)
{
    return QStringLiteral("„%1“").arg(text.trimmed());
}

QString fileName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? QStringLiteral("wert3.txt") : name;
}

// QLocale::toDouble of a trimmed text. The material values are the same
// few texts run after run, and one conversion costs more than the rest of
// a design, so the last conversions are kept.
bool localeNumber(const QString &text, const QLocale &locale, double &value)
{
    struct Conversion
    {
        QString text;
        QLocale locale;
        double value = 0;
        bool ok = false;
    };
    constexpr int Kept = 4;   // E and the allowable bending stress of both materials
    static thread_local std::array<std::optional<Conversion>, Kept> recent;
    static thread_local int next = 0;
    for (const std::optional<Conversion> &c : recent) {
        if (c && c->text == text && c->locale == locale) {
            value = c->value;
            return c->ok;
        }
    }
    bool ok = false;
    value = locale.toDouble(text.trimmed(), &ok);
    recent[std::size_t(next)] = Conversion{text, locale, value, ok};
    next = (next + 1) % Kept;
    return ok;
}

struct Material
{
    double E = 0;       // N/mm2
    double sigma = 0;   // N/mm2
    double tau = 0;     // kN/cm2
    QString problem;    // why the values cannot be used, empty when they can
};

struct MaterialLines
{
    int E, sigma, tau;                 // line numbers from 1
    const char *nameE, *nameSigma, *nameTau;
};

// Moduli and allowable bending stress are read with the user's locale, the
// allowable shear stress with the "." reader. A value the sizing would
// divide by must be a number greater than 0.
Material readMaterial(const QStringList &values, const MaterialLines &lines, const QLocale &locale)
{
    const QString file = QStringLiteral("wert2.txt");
    Material m;
    if (values.isEmpty()) {
        m.problem = QStringLiteral("die Materialdatei %1 fehlt, ist leer oder nicht lesbar").arg(file);
        return m;
    }
    const std::pair<int, const char *> needed[] = {
        {lines.E, lines.nameE}, {lines.sigma, lines.nameSigma}, {lines.tau, lines.nameTau}};
    for (const auto &[line, name] : needed) {
        if (line > values.size()) {
            m.problem = QStringLiteral("die Materialdatei %1 ist zu kurz, die Zeile %2 (%3) fehlt")
                            .arg(file)
                            .arg(line)
                            .arg(QString::fromUtf8(name));
            return m;
        }
    }

    auto localeValue = [&](int line, const char *name, double &out) {
        const QString text = values[line - 1];
        const bool ok = localeNumber(text, locale, out);
        if (ok && std::isfinite(out) && out > 0)
            return true;
        m.problem = QStringLiteral("der Wert %1 = %2 aus %3 ist keine Zahl größer Null")
                        .arg(QString::fromUtf8(name), quoted(text), file);
        return false;
    };
    if (!localeValue(lines.E, lines.nameE, m.E) || !localeValue(lines.sigma, lines.nameSigma, m.sigma))
        return m;

    const QString tauText = values[lines.tau - 1];
    m.tau = LeadingNumber(tauText) * 0.1;   // N/mm2 -> kN/cm2
    if (!(std::isfinite(m.tau) && m.tau > 0))
        m.problem = QStringLiteral("der Wert %1 = %2 aus %3 ist nicht größer Null")
                        .arg(QString::fromUtf8(lines.nameTau), quoted(tauText), file);
    return m;
}

QString limitProblem(double spanLimit, double cantileverLimit, const DesignInputs &inputs)
{
    if (std::isinf(spanLimit))
        return QStringLiteral("die Durchbiegungsgrenze FeldL / %1 ist zu groß").arg(quoted(inputs.spanLimitText));
    if (std::isinf(cantileverLimit))
        return QStringLiteral("die Durchbiegungsgrenze KragL / %1 ist zu groß")
            .arg(quoted(inputs.cantileverLimitText));
    if (spanLimit < 0)
        return QStringLiteral("die Durchbiegungsgrenze FeldL / %1 ist negativ").arg(quoted(inputs.spanLimitText));
    if (cantileverLimit < 0)
        return QStringLiteral("die Durchbiegungsgrenze KragL / %1 ist negativ")
            .arg(quoted(inputs.cantileverLimitText));
    return {};
}

bool allFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Timber: returns the problem that prevents a design, or writes the numbers.
QString designTimber(const DesignInputs &inputs, const Material &timber, const DesignState &state,
                     double requirement, TimberDesign &out)
{
    if (!timber.problem.isEmpty())
        return timber.problem;
    const double b = LeadingNumber(inputs.widthText);
    if (std::isinf(b))
        return QStringLiteral("die Breite b = %1 ist zu groß").arg(quoted(inputs.widthText));
    if (!(std::isfinite(b) && b > 0))
        return QStringLiteral("die Breite b = %1 ist nicht größer Null").arg(quoted(inputs.widthText));

    const double WM = std::fabs(state.GoverningMoment) * 1000 / timber.sigma;
    const double hM = std::sqrt(WM * 6 / b);
    const double hV = std::fabs(state.GoverningShear) * 3 / (2 * b * timber.tau);
    const double hD = std::pow(12 * requirement / (0.00001 * timber.E * b), 1.0 / 3);

    double h = 0;
    Governs governs = Governs::Bending;
    if (hM >= hV && hM >= hD) {
        h = hM;
    } else if (hV >= hM && hV >= hD) {
        h = hV;
        governs = Governs::Shear;
    } else {
        h = hD;
        governs = Governs::Deflection;
    }
    // The modulus of the chosen section, not the one bending alone asks for.
    const double W = h * h * b / 6;
    if (!allFinite({hM, hV, hD, h, W}))
        return NotFinite;

    out.WyRequired = W;
    out.h = h;
    out.b = b;
    out.governs = governs;
    return {};
}

struct SteelRequirement
{
    double shearArea;   // mm2
    double inertia;     // cm4
    double modulus;     // cm3
};

// The numbers of a profile: shear area (mm2), Iy (cm4), Wy (cm3).
struct HeldProfile
{
    double shearArea, inertia, modulus;
};

HeldProfile held(const QStringList &holder)
{
    return {LeadingNumber(holder.value(0)), LeadingNumber(holder.value(1)), LeadingNumber(holder.value(2))};
}

HeldProfile column(const ProfileTable &table, int field)
{
    return {table.value(0, field), table.value(1, field), table.value(2, field)};
}

bool passes(const HeldProfile &p, const SteelRequirement &need)
{
    return p.shearArea >= need.shearArea && p.inertia >= need.inertia && p.modulus >= need.modulus;
}

// Of the tests a failing profile does not pass, the last in the order shear,
// deflection, bending names the verdict. A profile that fails fails at least
// one of them, so the verdict of an earlier profile never survives.
Governs ruledOutBy(const HeldProfile &p, const SteelRequirement &need)
{
    if (p.modulus <= need.modulus)
        return Governs::Bending;
    if (p.inertia <= need.inertia)
        return Governs::Deflection;
    return Governs::Shear;
}

// Required over available; a requirement of 0 uses nothing, also of a
// profile whose table value is 0.
double usage(double required, double available)
{
    return required == 0 ? 0.0 : required / available;
}

QString designSteel(const DesignInputs &inputs, const ProfileTable &table, const Material &steel,
                    DesignState &state, double requirement, SteelDesign &out)
{
    const QString prefix = SeriesPrefix(inputs.series);
    if (!steel.problem.isEmpty())
        return steel.problem;

    const double WS = std::fabs(state.GoverningMoment) * 1000 / steel.sigma;
    const SteelRequirement need{std::fabs(state.GoverningShear) * 100 / steel.tau,
                                requirement / (0.00001 * steel.E), WS};
    if (!allFinite({need.shearArea, need.inertia, need.modulus}))
        return NotFinite;
    out.requirementKnown = true;
    out.WyRequired = need.modulus;
    out.IyRequired = need.inertia;
    out.shearAreaRequired = need.shearArea;

    // The table is checked even when nothing needs a profile: a missing or
    // damaged file is worth a message before it matters.
    const QString file = fileName(inputs.profileTablePath);
    const QStringList &lines = table.lines;
    if (!table.readable)
        return QStringLiteral("die Profiltabelle %1 fehlt oder ist nicht lesbar").arg(file);
    if (lines.size() < ProfileLines)
        return QStringLiteral("die Profiltabelle %1 ist zu kurz, sie hat %2 statt %3 Zeilen")
            .arg(file)
            .arg(lines.size())
            .arg(ProfileLines);

    const SteelSeries &series = SeriesAt(inputs.series);
    const int start = series.start;
    int shortest = int(lines[0].size());
    for (int k = 1; k < ProfileValueLines; ++k)
        shortest = std::min(shortest, int(lines[k].size()));
    const int columns = series.columns > 0 ? series.columns
                                           : (shortest - start + ProfileFieldWidth - 1) / ProfileFieldWidth;
    // A value line that ends inside the block is a damaged table, not a
    // series without an adequate profile.
    if (columns <= 0 || (series.columns > 0 && shortest < start + ProfileFieldWidth * columns))
        return QStringLiteral("die Profiltabelle %1 ist zu kurz für die Reihe %2")
            .arg(file, prefix.trimmed());

    // The holder's values are 0 when the search starts. With nothing to
    // carry they pass at once: the designation of the last search stays and
    // the verdict keeps its text.
    QStringList &holder = state.ProfileHolder;
    HeldProfile profile = held(holder);
    if (passes(profile, need)) {
        out.choice = ProfileChoice::Kept;
        out.designation = holder.value(3);
        return {};
    }
    out.governs = ruledOutBy(profile, need);

    // The holder ends with the texts of the last profile tried.
    auto hold = [&](int c) {
        holder.clear();
        for (const QString &line : lines)
            holder.append(line.mid(start + ProfileFieldWidth * c, ProfileFieldWidth));
    };
    for (int c = 0; c < columns; ++c) {
        profile = column(table, start / ProfileFieldWidth + c);
        if (passes(profile, need)) {
            hold(c);
            out.choice = ProfileChoice::Found;
            out.column = c;
            out.designation = holder.value(3);
            out.Wy = profile.modulus;
            out.Iy = profile.inertia;
            out.shearArea = profile.shearArea;
            out.utilisation = {usage(need.modulus, profile.modulus), usage(need.shearArea, profile.shearArea),
                               usage(need.inertia, profile.inertia)};
            return {};
        }
        out.governs = ruledOutBy(profile, need);
    }
    // The largest profile of the series failed too; its verdict says why.
    hold(columns - 1);
    out.choice = ProfileChoice::NoneAdequate;
    return {};
}

} // namespace

double PickFirstLargest(std::initializer_list<double> values)
{
    double best = 0;
    bool first = true;
    for (double v : values) {
        if (first || std::fabs(v) > std::fabs(best))
            best = v;
        first = false;
    }
    return best;
}

double DeflectionRequirement(const ResultSet &results, double spanLimit, double cantileverLimit)
{
    double R = 0;
    auto take = [&R](double limit, double term, double length) {
        if (length != 0)
            R = std::max(R, limit * std::fabs(term) / std::fabs(length));
    };
    take(spanLimit, results.EIf1, results.L1);
    take(spanLimit, results.EIf2, results.L2);
    take(spanLimit, results.EIf3, results.L3);
    take(cantileverLimit, results.EIwKl, results.Lkl);
    take(cantileverLimit, results.EIwKr, results.Lkr);
    return R;
}

double ProfileTable::value(int line, int field) const
{
    const std::vector<double> &fields = values[std::size_t(line)];
    return field >= 0 && std::size_t(field) < fields.size() ? fields[std::size_t(field)] : 0.0;
}

ProfileTable ReadProfileTable(const QString &path)
{
    ProfileTable table;
    table.lines = ReadDataFileLines(path, &table.readable);
    for (int k = 0; k < ProfileValueLines && k < table.lines.size(); ++k) {
        const QString &line = table.lines[k];
        std::vector<double> &fields = table.values[std::size_t(k)];
        fields.reserve(std::size_t(line.size() / ProfileFieldWidth + 1));
        for (qsizetype at = 0; at < line.size(); at += ProfileFieldWidth)
            fields.push_back(LeadingNumber(QStringView(line).mid(at, ProfileFieldWidth)));
    }
    return table;
}

DesignResult RunDesign(const ResultSet &results, const DesignInputs &inputs, DesignState &state,
                       const QLocale &locale)
{
    return RunDesign(results, inputs, ReadProfileTable(inputs.profileTablePath), state, locale);
}

DesignResult RunDesign(const ResultSet &results, const DesignInputs &inputs, const ProfileTable &table,
                       DesignState &state, const QLocale &locale)
{
    DesignResult out;
    out.steel.series = SeriesAt(inputs.series).position;
    const Material timber =
        readMaterial(inputs.timberValues, {1, 4, 11, "E II", "SigBzul", "TauQzul"}, locale);
    const Material steel = readMaterial(inputs.steelValues, {1, 3, 8, "E", "Sigzul", "Tauzul"}, locale);

    QStringList &holder = state.ProfileHolder;
    for (int k = 0; k < 3 && k < holder.size(); ++k)
        holder[k] = QStringLiteral("0");

    const ResultSet &r = results;
    // With upward loads the support and span values need not hold the
    // extremes: the moment and the shear of largest magnitude of the exact
    // lines govern.
    state.GoverningMoment =
        r.lineMoment != 0 ? r.lineMoment : PickFirstLargest({r.MA, r.MB, r.MC, r.MD, r.MF1, r.MF2, r.MF3});
    state.GoverningShear =
        r.lineShear != 0 ? r.lineShear : PickFirstLargest({r.Ali, r.Are, r.Bli, r.Bre, r.Cli, r.Cre, r.Dli, r.Dre});

    const double spanLimit = LeadingNumber(inputs.spanLimitText);
    const double cantileverLimit = LeadingNumber(inputs.cantileverLimitText);
    QString common = limitProblem(spanLimit, cantileverLimit, inputs);
    double requirement = 0;
    if (common.isEmpty()) {
        requirement = DeflectionRequirement(results, spanLimit, cantileverLimit);
        if (!std::isfinite(requirement))
            common = NotFinite;
    }

    if (common.isEmpty()) {
        out.timber.problem = designTimber(inputs, timber, state, requirement, out.timber);
        out.steel.problem = designSteel(inputs, table, steel, state, requirement, out.steel);
    } else {
        out.timber.problem = common;
        out.steel.problem = common;
    }
    // A design that failed part-way keeps no half of its numbers.
    if (!out.timber.problem.isEmpty())
        out.timber = TimberDesign{out.timber.problem};
    if (!out.steel.problem.isEmpty())
        out.steel.choice = ProfileChoice::None;
    return out;
}

} // namespace varno
