// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/ecpresentation.h"

#include "presentation/ectexts.h"

#include <algorithm>
#include <cmath>

namespace varno {

namespace {

using ec::CheckOutcome;
using ec::NamedValue;

const QString Dash = QStringLiteral("\u2013");
const char *const ActionSymbols[ec::ActionCount] = {"G", "Q", "S", "W"};

// A number in a fixed pattern; "–" where there is none, never "n. def.".
QString num(double value, int decimals, const QLocale &locale)
{
    return std::isfinite(value) ? FormatFixed(value, decimals, locale) : Dash;
}

// The locale without group separators, for the values of the data files.
QLocale plainLocale(const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain;
}

// A value of the data files as written there: "0,8", "11000", "1,35".
QString plainNumber(double value, const QLocale &plain)
{
    return std::isfinite(value) ? plain.toString(value, 'g', 6) : Dash;
}

// "IPE", "HE-A", "HE-B" for the series keys of the profile data.
QString seriesName(const QString &key)
{
    if (key.size() == 3 && key.startsWith(QLatin1String("HE")))
        return key.left(2) + u'-' + key.right(1);
    return key;
}

// The values of a run by their names, for the checks to look up what
// entered them.
class Values
{
public:
    Values(const std::vector<NamedValue> &actions, const std::vector<NamedValue> &member)
        : m_actions(actions), m_member(member)
    {
    }
    const ec::Value *find(const QString &name) const
    {
        for (const auto *list : {&m_member, &m_actions})
            for (const NamedValue &n : *list)
                if (n.name == name)
                    return &n.value;
        return nullptr;
    }

private:
    const std::vector<NamedValue> &m_actions;
    const std::vector<NamedValue> &m_member;
};

// The names of the factors a combination applied: γ in the fundamental
// combination, ψ0 of the accompanying and ψ2 where the kind uses it.
QStringList combinationValueNames(const ec::Combination &c, const Values &values, bool durations)
{
    QStringList names;
    auto acts = [&](int a) { return (c.actions & (1u << a)) && (a == ec::ActG || c.regionsOn[a] != 0); };
    auto psi = [](int which, int a) {
        return QStringLiteral("psi%1,%2").arg(which).arg(QLatin1String(ActionSymbols[a]));
    };
    if (c.kind == ec::CombinationKind::Fundamental) {
        const ec::Value *inf = values.find(QStringLiteral("gamma_G,inf"));
        names << (inf && c.factor[ec::ActG] == inf->value ? QStringLiteral("gamma_G,inf")
                                                           : QStringLiteral("gamma_G,sup"));
    }
    for (int a = ec::ActQ; a < ec::ActionCount; ++a) {
        if (!acts(a))
            continue;
        const bool leading = a == c.leading;
        switch (c.kind) {
        case ec::CombinationKind::Fundamental:
            names << QStringLiteral("gamma_Q");
            if (!leading)
                names << psi(0, a);
            break;
        case ec::CombinationKind::Characteristic:
            if (!leading)
                names << psi(0, a);
            break;
        case ec::CombinationKind::QuasiPermanent:
        case ec::CombinationKind::NetFinal:
            names << psi(2, a);
            break;
        case ec::CombinationKind::Final:
            if (!leading)
                names << psi(0, a);
            names << psi(2, a);
            break;
        }
    }
    if (durations)
        for (int a = 0; a < ec::ActionCount; ++a)
            if (acts(a))
                names << QStringLiteral("KLED,%1").arg(QLatin1String(ActionSymbols[a]));
    return names;
}

QString omissionText(EcOmission omission, const QString &name, const QLocale &locale)
{
    switch (omission) {
    case EcOmission::None:
        return {};
    case EcOmission::NoClassForGrade:
        return QStringLiteral("für die Holzsorte \u201E%1\u201C ist keine Festigkeitsklasse hinterlegt, bitte eine "
                              "Festigkeitsklasse wählen")
            .arg(name.simplified());
    case EcOmission::NoClassChosen:
        return QStringLiteral("keine Festigkeitsklasse gewählt");
    case EcOmission::UnknownSteelGrade:
        return QStringLiteral("Stahlsorte \u201E%1\u201C unbekannt").arg(name);
    case EcOmission::NoSteelChosen:
        return QStringLiteral("keine Stahlsorte gewählt");
    case EcOmission::SizeOutOfRange:
        return QStringLiteral("die Breite b = %1 cm liegt nicht zwischen %2 und %3 cm")
            .arg(name, num(EcMinSizeCm, 1, locale), num(EcMaxSizeCm, 0, locale));
    }
    return {};
}

// What one check is, before its numbers.
struct CheckSpec
{
    const char *id, *name, *formula, *designSymbol, *resistanceSymbol;
    QStringList values;            // the names of the values that enter it
    const char *limit = nullptr;   // deflection: the limit's name, " span" or " cantilever" added
    bool durations = false;        // timber ultimate: kmod by the load-duration classes
};

class Builder
{
public:
    Builder(const EcRun &run, const QLocale &locale)
        : m_run(run), m_result(run.output.result), m_locale(locale), m_plain(plainLocale(locale))
    {
    }

    EcPresentation build();

private:
    EcValueRow valueRow(const QString &group, const NamedValue &n) const;
    EcCheck check(const CheckSpec &spec, const CheckOutcome &o, const Values &values, const QString &extra,
                  const std::optional<ec::Value> &mapping) const;
    EcMember timber() const;
    EcMember steel() const;
    QString n2(double v) const { return num(v, 2, m_locale); }

    const EcRun &m_run;
    const ec::CheckResult &m_result;
    const QLocale &m_locale;
    const QLocale m_plain;
};

EcValueRow Builder::valueRow(const QString &group, const NamedValue &n) const
{
    EcValueRow row;
    row.group = group;
    row.name = n.name;
    row.value = n.value.value;
    row.key = n.value.key;
    row.cited = n.value.cited;
    QString shown;
    // The load-duration classes are values by their names.
    if (n.name.startsWith(QLatin1String("KLED")) && row.value >= 0 && row.value < double(int(ec::DurationCount))) {
        const auto d = ec::Duration(int(row.value));
        row.duration = ec::DurationName(d);
        shown = EcDurationText(d);
    } else {
        shown = plainNumber(row.value, m_plain);
    }
    row.text = QStringLiteral("%1 = %2 [%3]").arg(n.name, shown, row.key);
    if (!row.cited)
        row.text += QStringLiteral(" (") + EcUncited + u')';
    return row;
}

EcCheck Builder::check(const CheckSpec &spec, const CheckOutcome &o, const Values &values, const QString &extra,
                       const std::optional<ec::Value> &mapping) const
{
    EcCheck c;
    c.id = QLatin1String(spec.id);
    c.name = QString::fromUtf8(spec.name);
    c.formula = QString::fromUtf8(spec.formula);
    c.done = o.done;
    if (!c.done) {
        c.utilisationText = Dash;
        c.verdict = QStringLiteral("nicht geführt (keine Belastung)");
        c.summary = c.verdict;
        return c;
    }
    c.design = o.design;
    c.resistance = o.resistance;
    c.unit = o.unit;
    c.kmod = o.kmod;
    c.region = o.region;
    c.x = o.x;
    c.combination = o.combination;
    c.upward = o.upward;
    c.shearExceeded = o.shearExceeded;
    if (c.id == QLatin1String("bendingShear"))
        c.shear = o.shear;
    const bool finite = std::isfinite(o.utilisation) && std::isfinite(o.design) && std::isfinite(o.resistance);
    if (finite)
        c.utilisation = o.utilisation;
    c.met = finite && o.utilisation <= 1;

    QStringList entered = spec.values;
    QString designSymbol = QString::fromUtf8(spec.designSymbol);
    QString resistanceSymbol = QString::fromUtf8(spec.resistanceSymbol);
    if (spec.limit) {
        const QString limitName = QLatin1String(spec.limit)
                                  + (o.region < 3 ? QLatin1String(" span") : QLatin1String(" cantilever"));
        entered << limitName;
        if (const ec::Value *n = values.find(limitName))
            resistanceSymbol = QStringLiteral("l/") + plainNumber(n->value, m_plain);
    }
    if (spec.durations)
        entered << QStringLiteral("kmod(%1)").arg(ec::DurationName(o.combination.duration));
    entered << combinationValueNames(o.combination, values, spec.durations);
    if (c.shearExceeded) {
        // The section fails in shear: the numbers are V_Ed against Vpl,Rd.
        designSymbol = QStringLiteral("VEd");
        resistanceSymbol = QStringLiteral("Vpl,Rd");
        entered << QStringLiteral("Avz [cm²]");
    }
    const int decimals = o.unit == ec::CheckUnit::Deflection ? 1 : 2;
    const QString unit = EcUnitText(o.unit);
    QString design = QStringLiteral("%1 = %2 %3").arg(designSymbol, num(o.design, decimals, m_locale), unit);
    if (c.upward)
        design += QStringLiteral(" nach oben");
    const QString resistance =
        QStringLiteral("%1 = %2 %3").arg(resistanceSymbol, num(o.resistance, decimals, m_locale), unit);
    c.numbers = finite ? QStringLiteral("%1 %2 %3").arg(design, c.met ? QStringLiteral("\u2264") : QStringLiteral(">"),
                                                          resistance)
                       : design + QStringLiteral("; ") + resistance;
    if (!extra.isEmpty() && !c.shearExceeded)
        c.numbers += QStringLiteral("; ") + extra;
    c.where = QStringLiteral("%1, x = %2 m").arg(EcRegionName(o.region), n2(o.x));
    c.combinationText = EcCombinationText(o.combination, m_locale);
    if (c.shearExceeded)
        c.warnings << QStringLiteral("VEd > Vpl,Rd: der Querschnitt versagt auf Schub");
    if (!finite)
        c.reason = c.id == QLatin1String("bendingShear") && !(o.resistance > 0)
                       ? QStringLiteral("%1 = 0: der Querschnitt versagt auf Schub (VEd = %2 kN)")
                             .arg(resistanceSymbol, n2(std::abs(o.shear)))
                       : QStringLiteral("keine Ausnutzung bestimmbar (%1)").arg(resistance);

    for (const QString &name : std::as_const(entered))
        if (const ec::Value *v = values.find(name); v && !v->cited && !c.uncited.contains(v->key))
            c.uncited << v->key;
    if (mapping && !mapping->cited && !c.uncited.contains(mapping->key))
        c.uncited << mapping->key;
    if (!c.uncited.isEmpty())
        c.sourceMark = QStringLiteral("%1 (%2)").arg(EcUncited, c.uncited.join(QStringLiteral(", ")));

    c.utilisationText = c.utilisation ? QStringLiteral("\u03B7 = ") + n2(*c.utilisation) : Dash;
    c.verdict = c.met ? QStringLiteral("erfüllt") : QStringLiteral("nicht erfüllt");
    c.summary = c.utilisation ? QStringLiteral("%1 \u2013 %2").arg(c.utilisationText, c.verdict)
                              : QStringLiteral("%1: %2").arg(c.verdict, c.reason);
    return c;
}

EcMember Builder::timber() const
{
    EcMember m;
    m.id = QStringLiteral("timber");
    m.label = QStringLiteral("Holz");
    m.title = QStringLiteral("Nachweise Holz (EN 1995-1-1)");
    const ec::TimberResult &t = m_result.timber;
    if (m_run.timberOmission != EcOmission::None || !t.done) {
        m.met = false;
        m.omission = m_run.timberOmission != EcOmission::None
                         ? omissionText(m_run.timberOmission, m_run.timberOmittedName, m_locale)
                         : QStringLiteral("Festigkeitsklasse \u201E%1\u201C unbekannt")
                               .arg(m_run.inputs.options.timberClass);
        m.section = m.omission;
        return m;
    }
    m.checked = true;
    m.material = t.className;
    m.sized = t.sized;
    const QString dims = QStringLiteral("%1 × %2 cm").arg(num(t.b, 1, m_locale), num(t.h, 1, m_locale));
    QString state;
    if (t.hRequired <= 0)
        m.noSize = QStringLiteral("keine Höhe bis %1 cm reicht").arg(num(EcMaxSizeCm, 0, m_locale));
    m.found = !(t.sized && !m.noSize.isEmpty());
    if (!m.noSize.isEmpty())
        state = m.noSize;
    else if (t.sized)
        state = QStringLiteral("bemessen");
    else
        state = QStringLiteral("erforderlich h = %1 cm").arg(num(t.hRequired, 1, m_locale));
    m.section = QStringLiteral("%1 (%2)").arg(dims, state);
    m.name = QStringLiteral("Holz %1, %2").arg(t.className, dims);
    m.heading = QStringLiteral("Holz %1, Nutzungsklasse %2, b = %3 cm, h = %4 cm (%5)")
                    .arg(t.className)
                    .arg(t.serviceClass)
                    .arg(num(t.b, 1, m_locale), num(t.h, 1, m_locale), state);
    std::optional<ec::Value> mapping;
    if (!m_run.classFromGrade.isEmpty()) {
        mapping = m_run.classMapping;
        m.notes << QStringLiteral("Festigkeitsklasse %1 aus der Holzsorte %2 abgeleitet [%3]%4")
                       .arg(t.className, m_run.classFromGrade.simplified(), mapping->key,
                            mapping->cited ? QString() : QStringLiteral(" (") + EcUncited + u')');
    }
    m.facts << QStringLiteral("kh = %1, kcr = %2, kdef = %3, γM = %4").arg(n2(t.kh), n2(t.kcr), n2(t.kdef), n2(t.gammaM));

    const Values values(m_result.actionValues, t.values);
    const QStringList strength{QStringLiteral("gamma_M")};
    const CheckSpec specs[] = {
        {"bending", "Biegung", "σm,d = Md / W \u2264 fm,d = kh · kmod · fm,k / γM", "σm,d", "fm,d",
         strength + QStringList{QStringLiteral("fm,k"), QStringLiteral("kh h_ref"), QStringLiteral("kh exponent"),
                                QStringLiteral("kh cap")},
         nullptr, true},
        {"shear", "Schub", "τd = 1,5 · Vd / (kcr · b · h) \u2264 fv,d = kmod · fv,k / γM", "τd", "fv,d",
         strength + QStringList{QStringLiteral("fv,k"), QStringLiteral("kcr numerator")}, nullptr, true},
        {"deflectionInst", "Durchbiegung w_inst", "w_inst (charakteristisch) \u2264 l / n", "w_inst", "l/n",
         {QStringLiteral("E0,mean")}, "l/n w_inst"},
        {"deflectionFin", "Durchbiegung w_fin",
         "w_fin = w_inst,G (1 + kdef) + w_inst,Q (1 + ψ2 kdef) \u2264 l / n", "w_fin", "l/n",
         {QStringLiteral("E0,mean"), QStringLiteral("kdef")}, "l/n w_fin"},
        {"deflectionNetFin", "Durchbiegung w_net,fin", "w_net,fin = w_qs (1 + kdef) \u2264 l / n", "w_net,fin", "l/n",
         {QStringLiteral("E0,mean"), QStringLiteral("kdef")}, "l/n w_net,fin"},
    };
    const QString extras[] = {
        QStringLiteral("kmod = %1, kh = %2, γM = %3").arg(n2(t.bending.kmod), num(t.kh, 3, m_locale), n2(t.gammaM)),
        QStringLiteral("kmod = %1, kcr = %2").arg(n2(t.shear.kmod), num(t.kcr, 3, m_locale)),
        QString(),
        QStringLiteral("kdef = %1").arg(n2(t.kdef)),
        QStringLiteral("kdef = %1").arg(n2(t.kdef)),
    };
    const CheckOutcome *outcomes[] = {&t.bending, &t.shear, &t.deflectionInst, &t.deflectionFin,
                                      &t.deflectionNetFin};
    for (int i = 0; i < 5; ++i)
        m.checks.push_back(check(specs[i], *outcomes[i], values, extras[i], mapping));
    for (const NamedValue &n : t.values)
        m.values.push_back(valueRow(QStringLiteral("timber"), n));
    m.met = m.found && std::all_of(m.checks.begin(), m.checks.end(), [](const EcCheck &c) { return c.met; });
    return m;
}

EcMember Builder::steel() const
{
    EcMember m;
    m.id = QStringLiteral("steel");
    m.label = QStringLiteral("Stahl");
    m.title = QStringLiteral("Nachweise Stahl (EN 1993-1-1)");
    const ec::SteelResult &s = m_result.steel;
    const QString series = seriesName(m_run.inputs.options.series);
    if (m_run.steelOmission != EcOmission::None || !s.done) {
        m.met = false;
        m.omission = m_run.steelOmission != EcOmission::None
                         ? omissionText(m_run.steelOmission, m_run.steelOmittedName, m_locale)
                         : QStringLiteral("kein Profil der Reihe %1 in den Daten").arg(series);
        m.section = m.omission;
        return m;
    }
    m.checked = true;
    m.material = s.grade;
    m.sized = s.sized;
    m.found = !s.noneAdequate;
    if (!m.found)
        m.noSize = QStringLiteral("kein Profil der Reihe %1 reicht aus").arg(series);
    m.section = s.profile + (s.noneAdequate ? QStringLiteral(" (kein Profil der Reihe reicht)")
                                            : s.sized ? QStringLiteral(" (bemessen)") : QString());
    m.name = QStringLiteral("Stahl %1, %2").arg(s.grade, s.profile);
    m.heading = QStringLiteral("Stahl %1, %2, Querschnittsklasse %3").arg(s.grade, s.profile).arg(s.sectionClass.section);
    if (s.noneAdequate)
        m.heading += QStringLiteral(" \u2013 kein Profil der Reihe %1 reicht aus; gezeigt: das größte").arg(series);
    else if (s.sized)
        m.heading += QStringLiteral(" (leichtestes ausreichendes Profil der Reihe %1)").arg(series);

    const Values values(m_result.actionValues, s.values);
    const ec::Value *eta = values.find(QStringLiteral("eta"));
    m.facts << QStringLiteral("ε = %1, Gurt c/t = %2, Steg c/t = %3, hw/tw = %4 (Grenze 72ε/η = %5%6)")
                   .arg(n2(s.sectionClass.epsilon), n2(s.sectionClass.flangeRatio), n2(s.sectionClass.webRatio),
                        n2(s.webSlenderness), n2(s.webLimit),
                        eta && !eta->cited ? QStringLiteral("; η: %1 [%2]").arg(EcUncited, eta->key) : QString());
    const bool webTooSlender = s.webSlenderness > s.webLimit;
    const bool classFour = s.sectionClass.section > 3;
    if (classFour) {
        m.warnings << QStringLiteral("Querschnittsklasse 4: nicht nachgewiesen, das Profil ist so nicht verwendbar");
        m.unusable << m.warnings.back();
    }

    QStringList classes;
    for (int i = 1; i <= 3; ++i)
        classes << QStringLiteral("c/t flange class %1").arg(i) << QStringLiteral("c/t web class %1").arg(i);
    const QStringList base{QStringLiteral("fy"), QStringLiteral("gamma_M0")};
    const CheckSpec specs[] = {
        {"bending", "Biegung", "MEd \u2264 Mc,Rd = W · fy / γM0 (Wpl in Klasse 1 und 2, Wel in Klasse 3)", "MEd",
         "Mc,Rd", base + classes + QStringList{QStringLiteral("Wpl,y [cm³]"), QStringLiteral("Iy [cm⁴]")}},
        {"shear", "Querkraft", "VEd \u2264 Vpl,Rd = Av · fy / (√3 · γM0); hw/tw \u2264 72ε/η", "VEd", "Vpl,Rd",
         base + QStringList{QStringLiteral("Avz [cm²]"), QStringLiteral("hw/tw factor"), QStringLiteral("eta")}},
        {"bendingShear", "Biegung mit Querkraft",
         "MEd \u2264 My,V,Rd, abgemindert für VEd > 0,5 Vpl,Rd (EN 1993-1-1, 6.2.8)", "MEd", "My,V,Rd",
         base + classes + QStringList{QStringLiteral("Wpl,y [cm³]"), QStringLiteral("Avz [cm²]")}},
        {"deflection", "Durchbiegung", "w (charakteristisch) \u2264 l / n", "w", "l/n",
         {QStringLiteral("E"), QStringLiteral("Iy [cm⁴]")}, "l/n"},
    };
    const QString extras[] = {
        QStringLiteral("Querschnittsklasse %1").arg(s.sectionClass.section),
        QStringLiteral("hw/tw = %1 %2 72ε/η = %3")
            .arg(num(s.webSlenderness, 1, m_locale), webTooSlender ? QStringLiteral(">") : QStringLiteral("\u2264"),
                 num(s.webLimit, 1, m_locale)),
        QStringLiteral("VEd = %1 kN").arg(n2(std::abs(s.bendingShear.shear))),
        QString(),
    };
    const CheckOutcome *outcomes[] = {&s.bending, &s.shear, &s.bendingShear, &s.deflection};
    for (int i = 0; i < 4; ++i)
        m.checks.push_back(check(specs[i], *outcomes[i], values, extras[i], std::nullopt));
    if (webTooSlender) {
        m.checks[1].warnings << QStringLiteral("hw/tw = %1 > 72ε/η = %2: Schubbeulnachweis nötig, nicht geführt")
                                    .arg(num(s.webSlenderness, 1, m_locale), num(s.webLimit, 1, m_locale));
        m.unusable << m.checks[1].warnings.back();
    }
    for (const NamedValue &n : s.values)
        m.values.push_back(valueRow(QStringLiteral("steel"), n));
    m.met = m.found && m.unusable.isEmpty()
            && std::all_of(m.checks.begin(), m.checks.end(), [](const EcCheck &c) { return c.met; });
    return m;
}

EcPresentation Builder::build()
{
    EcPresentation p;
    const ec::CheckOptions &o = m_run.inputs.options;
    p.assumptions = {
        QStringLiteral("Die Lasten werden nach EN 1990 kombiniert: jede veränderliche Einwirkung feldweise "
                       "ungünstig, jede einmal führend, die übrigen mit ψ0."),
        QStringLiteral("Die ständige Einwirkung g wirkt auf allen Bereichen mit demselben Teilsicherheitsbeiwert "
                       "(γG,sup oder γG,inf)."),
        QStringLiteral("Die Einzellasten gehören zur Einwirkung %1.").arg(EcActionName(o.pointLoadAction)),
        QStringLiteral("Holz: der gedrückte Rand ist seitlich gehalten (kcrit = 1); die Schubverformung bleibt "
                       "in w unberücksichtigt."),
        QStringLiteral("Stahl: der gedrückte Gurt ist gegen Biegedrillknicken gehalten."),
        QStringLiteral("Nicht nachgewiesen: Brandfall, Schwingungen, Auflagerpressung, Biegedrillknicken, "
                       "Schubbeulen, Ausklinkungen und Durchbrüche."),
        QStringLiteral("Werte ohne zitierfähige Quelle sind mit \u201EQuelle: nicht belegt\u201C gekennzeichnet, "
                       "ebenso geänderte Durchbiegungsgrenzen."),
    };
    p.pointLoads = QStringLiteral("Nutzlastkategorie %1, Schnee %2, Einzellasten: %3")
                       .arg(QString(o.imposedCategory),
                            o.snowHigh ? QStringLiteral("über 1000 m ü. NN") : QStringLiteral("bis 1000 m ü. NN"),
                            EcActionName(o.pointLoadAction));

    for (const ec::DataProblem &problem : m_result.problems)
        p.problems << EcProblemText(problem);
    if (m_result.refused)
        p.problems << QStringLiteral("ein Lastfall einer einzelnen Last ist nicht berechenbar (siehe die Ergebnisse)");
    if (!m_run.ran && p.problems.isEmpty())
        p.problems << QStringLiteral("der Nachweis wurde nicht gerechnet");
    for (const QString &problem : std::as_const(p.problems))
        p.errors << QStringLiteral("Eurocode-Nachweis ausgelassen: ") + problem;
    const bool wantTimber = o.timber || m_run.timberOmission != EcOmission::None;
    const bool wantSteel = o.steel || m_run.steelOmission != EcOmission::None;
    if (!p.problems.isEmpty()) {
        // Members left out for their own reason say so even so.
        for (auto [want, omission, label, name] :
             {std::tuple{wantTimber, m_run.timberOmission, "Holz", m_run.timberOmittedName},
              std::tuple{wantSteel, m_run.steelOmission, "Stahl", m_run.steelOmittedName}})
            if (want && omission != EcOmission::None)
                p.errors << QStringLiteral("Eurocode-Nachweis %1 ausgelassen: %2")
                                .arg(QLatin1String(label), omissionText(omission, name, m_locale));
        return p;
    }

    for (const NamedValue &n : m_result.actionValues)
        p.actionValues.push_back(valueRow(QStringLiteral("actions"), n));
    if (wantTimber)
        p.members.push_back(timber());
    if (wantSteel)
        p.members.push_back(steel());

    bool anyLoad = false;
    for (const EcMember &m : p.members) {
        p.done = p.done || m.checked;
        for (const EcCheck &c : m.checks)
            anyLoad = anyLoad || c.done;
    }
    if (p.done && !anyLoad)
        p.warnings << QStringLiteral("keine Last: nichts nachzuweisen");
    for (int i = 0; i < ec::LimitCount; ++i)
        if (m_run.output.limitChanged[i] && m_run.inputs.limits[i])
            p.warnings << QStringLiteral("Durchbiegungsgrenze im Fenster geändert: %1 = %2 (%3)")
                              .arg(QLatin1String(ec::LimitKeys[i]), plainNumber(*m_run.inputs.limits[i], m_plain),
                                   EcUncited);

    for (const EcMember &m : p.members) {
        if (!m.checked) {
            p.errors << QStringLiteral("Eurocode-Nachweis %1 ausgelassen: %2").arg(m.label, m.omission);
            continue;
        }
        if (!m.found) {
            p.errors << QStringLiteral("Eurocode-Nachweis %1: %2").arg(m.label, m.noSize);
            continue;
        }
        for (const QString &why : m.unusable)
            p.errors << QStringLiteral("Eurocode-Nachweis %1: %2").arg(m.name, why);
        for (const EcCheck &c : m.checks) {
            if (c.done && !c.met)
                p.errors << QStringLiteral("Eurocode-Nachweis nicht erfüllt: %1, %2: %3")
                                .arg(m.name, c.name, c.utilisation ? c.utilisationText : c.reason);
        }
    }
    return p;
}

} // namespace

bool EcSizeAccepted(double cm)
{
    return std::isfinite(cm) && cm >= EcMinSizeCm && cm <= EcMaxSizeCm;
}

QString EcClassFromGrade(EcRun &run, const ec::Data &data, int timberGrade)
{
    const QString grade =
        timberGrade >= 0 && timberGrade < TimberGradeCount ? texts::TimberGrades[timberGrade] : QString();
    run.classFromGrade = grade;
    run.classMapping = data.gradeMapping.value(grade);
    const QString cls = ec::TimberClassOfGrade(data, timberGrade);
    if (cls.isEmpty()) {
        run.timberOmission = EcOmission::NoClassForGrade;
        run.timberOmittedName = grade;
    }
    return cls;
}

const EcMember *EcPresentation::member(const QString &id) const
{
    for (const EcMember &m : members)
        if (m.id == id)
            return &m;
    return nullptr;
}

EcPresentation PresentEurocode(const EcRun &run, const QLocale &locale)
{
    return Builder(run, locale).build();
}

QLocale EcReportLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

QStringList EcTextLines(const EcPresentation &p)
{
    QStringList lines{EcHeading};
    if (!p.problems.isEmpty()) {
        for (const QString &problem : p.problems)
            lines << QStringLiteral("  ausgelassen: ") + problem;
        return lines;
    }
    lines << QStringLiteral("Annahmen:");
    for (const QString &a : p.assumptions)
        lines << QStringLiteral("  ") + a;
    lines << QStringLiteral("Einwirkungen: ") + p.pointLoads;
    for (const EcMember &m : p.members) {
        if (!m.checked) {
            lines << QStringLiteral("%1: ausgelassen (%2)").arg(m.label, m.omission);
            continue;
        }
        lines << m.heading;
        for (const QStringList *list : {&m.notes, &m.facts})
            for (const QString &line : *list)
                lines << QStringLiteral("  ") + line;
        for (const QString &w : m.warnings)
            lines << QStringLiteral("  Warnung: ") + w;
        for (const EcCheck &c : m.checks) {
            if (!c.done)
                continue;
            lines << QStringLiteral("  %1: %2").arg(c.name, c.numbers);
            lines << QStringLiteral("    %1, %2").arg(c.summary, c.where);
            lines << QStringLiteral("    maßgebend: ") + c.combinationText;
            for (const QString &w : c.warnings)
                lines << QStringLiteral("    Warnung: ") + w;
            if (!c.sourceMark.isEmpty())
                lines << QStringLiteral("    ") + c.sourceMark;
        }
    }
    for (const QString &w : p.warnings)
        lines << QStringLiteral("Warnung: ") + w;
    lines << QStringLiteral("Verwendete Werte [Quellenschlüssel]:");
    for (const EcValueRow &v : p.actionValues)
        lines << QStringLiteral("  ") + v.text;
    for (const EcMember &m : p.members)
        for (const EcValueRow &v : m.values)
            lines << QStringLiteral("  %1: %2").arg(m.label, v.text);
    return lines;
}

} // namespace varno
