// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/ecpresentation.h"

#include "presentation/ectexts.h"
#include "presentation/loadwarnings.h"

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
    const char *id, *name, *shortName, *formula, *designSymbol, *resistanceSymbol;
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
    void timberSteps(EcMember &m, const ec::TimberResult &t, const Values &values) const;
    void steelSteps(EcMember &m, const ec::SteelResult &s, const Values &values) const;
    QString sumStep(const QString &symbol, const QString &part, const ec::CheckOutcome &o, const QString &unit) const;
    QString limitStep(const ec::CheckOutcome &o, double n) const;
    QString n1(double v) const { return num(v, 1, m_locale); }
    QString n2(double v) const { return num(v, 2, m_locale); }
    QString plain(double v) const { return plainNumber(v, m_plain); }

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
    row.symbol = EcValueSymbol(n.name);
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
    row.text = QStringLiteral("%1 = %2 [%3]").arg(row.symbol, shown, row.key);
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
    c.shortName = QString::fromUtf8(spec.shortName);
    c.done = o.done;
    c.places.resize(ec::PlaceCount);
    for (EcPlaceValue &v : c.places)
        v.text = Dash;
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
    // The last step: η from the two sides; the members put theirs before it.
    if (c.utilisation)
        c.steps << QStringLiteral("\u03B7 = %1 / %2 = %3 / %4 = %5")
                       .arg(designSymbol,
                            resistanceSymbol.contains(u'/') ? u'(' + resistanceSymbol + u')' : resistanceSymbol,
                            num(o.design, decimals, m_locale),
                            num(o.resistance, decimals, m_locale), n2(*c.utilisation));
    for (int p = 0; p < int(o.places.size()) && p < ec::PlaceCount; ++p) {
        const ec::PlaceOutcome &at = o.places[std::size_t(p)];
        if (!at.done)
            continue;
        EcPlaceValue &v = c.places[std::size_t(p)];
        v.done = true;
        v.design = at.design;
        v.x = at.x;
        const bool atFinite = std::isfinite(at.utilisation) && std::isfinite(at.design) && std::isfinite(at.resistance);
        if (atFinite)
            v.utilisation = at.utilisation;
        v.met = atFinite && at.utilisation <= 1;
        v.text = atFinite ? n2(at.utilisation) : Dash;
    }
    c.verdict = c.met ? QStringLiteral("erfüllt") : QStringLiteral("nicht erfüllt");
    c.summary = c.utilisation ? QStringLiteral("%1 \u2013 %2").arg(c.utilisationText, c.verdict)
                              : QStringLiteral("%1: %2").arg(c.verdict, c.reason);
    return c;
}

// "MG,k = 2,00 kNm, MQ,k = 4,00 kNm: Md = 1,35 · 2,00 + 1,50 · 4,00 =
// 8,70 kNm": the characteristic value of every acting action at the
// section, and the design value as their sum with the combination's factors.
QString Builder::sumStep(const QString &symbol, const QString &part, const ec::CheckOutcome &o,
                         const QString &unit) const
{
    const ec::Combination &c = o.combination;
    QStringList parts, terms;
    double sum = 0;
    for (int a = 0; a < ec::ActionCount; ++a) {
        if (!(c.actions & (1u << a)) || c.factor[std::size_t(a)] == 0 || c.regionsOn[std::size_t(a)] == 0)
            continue;
        const double f = c.factor[std::size_t(a)], value = o.parts[std::size_t(a)];
        // A factor such as 1 + ψ2 · kdef keeps its third decimal.
        const int decimals = std::abs(std::round(f * 100) - f * 100) > 1e-6 ? 3 : 2;
        parts << QStringLiteral("%1%2%3 = %4 %5")
                     .arg(part, QLatin1String(ActionSymbols[a]),
                          part.startsWith(u'w') ? QString() : QStringLiteral(",k"), n2(value), unit);
        terms << QStringLiteral("%1 · %2").arg(num(f, decimals, m_locale),
                                               value < 0 ? u'(' + n2(value) + u')' : n2(value));
        sum += f * value;
    }
    if (terms.isEmpty())
        return {};
    return QStringLiteral("%1: %2 = %3 = %4 %5")
        .arg(parts.join(QStringLiteral(", ")), symbol, terms.join(QStringLiteral(" + ")), n2(sum), unit);
}

// "l = 4,00 m: l / 300 = 13,33 mm": the limit of a deflection.
QString Builder::limitStep(const ec::CheckOutcome &o, double n) const
{
    return QStringLiteral("l = %1 m (%2): l / %3 = %4 mm")
        .arg(n2(o.resistance * n / 1000), EcRegionName(o.region), plain(n), n2(o.resistance));
}

// The values put into the formulas of the timber checks.
void Builder::timberSteps(EcMember &m, const ec::TimberResult &t, const Values &values) const
{
    auto value = [&](const char *name) {
        const ec::Value *v = values.find(QString::fromUtf8(name));
        return v ? v->value : std::nan("");
    };
    const double b = t.b, h = t.h;   // cm
    const QString W = QStringLiteral("W = b · h² / 6 = %1 · %2² / 6 = %3 cm³").arg(n1(b), n1(h), n2(b * h * h / 6));
    const QString I =
        QStringLiteral("I = b · h³ / 12 = %1 · %2³ / 12 = %3 cm⁴").arg(n1(b), n1(h), n2(b * h * h * h / 12));
    const double href = value("kh h_ref");
    const QString kh = h * 10 >= href
                           ? QStringLiteral("kh = %1 (h = %2 mm \u2265 href = %3 mm)")
                                 .arg(n2(1), plain(h * 10), plain(href))
                           : QStringLiteral("kh = min((href / h)^%1; kh,max) = min((%2 / %3)^%1; %4) = %5")
                                 .arg(plain(value("kh exponent")), plain(href), plain(h * 10),
                                      plain(value("kh cap")), num(t.kh, 3, m_locale));
    auto kmod = [&](const ec::CheckOutcome &o) {
        return QStringLiteral("kmod = %1 (KLED %2, Nutzungsklasse %3)")
            .arg(n2(o.kmod), EcDurationText(o.combination.duration))
            .arg(t.serviceClass);
    };
    const ec::CheckOutcome *outcomes[] = {&t.bending, &t.shear, &t.deflectionInst, &t.deflectionFin,
                                          &t.deflectionNetFin};
    for (std::size_t i = 0; i < m.checks.size() && i < 5; ++i) {
        EcCheck &c = m.checks[i];
        const ec::CheckOutcome &o = *outcomes[i];
        if (!c.done)
            continue;
        QStringList steps;
        switch (i) {
        case 0:
            steps << sumStep(QStringLiteral("Md"), QStringLiteral("M"), o, QStringLiteral("kNm")) << W
                  << QStringLiteral("σm,d = Md / W = %1 kNm / %2 cm³ = %3 N/mm²")
                         .arg(n2(o.design * (b * h * h / 6) / 1000), n2(b * h * h / 6), n2(o.design))
                  << kh << kmod(o)
                  << QStringLiteral("fm,d = kh · kmod · fm,k / γM = %1 · %2 · %3 / %4 = %5 N/mm²")
                         .arg(num(t.kh, 3, m_locale), n2(o.kmod), plain(value("fm,k")), plain(t.gammaM),
                              n2(o.resistance));
            break;
        case 1:
            steps << sumStep(QStringLiteral("Vd"), QStringLiteral("V"), o, QStringLiteral("kN"))
                  << QStringLiteral("kcr = min(Zähler / fv,k; 1) = min(%1 / %2; 1) = %3")
                         .arg(plain(value("kcr numerator")), plain(value("fv,k")), num(t.kcr, 3, m_locale))
                  << QStringLiteral("kcr · b = %1 · %2 cm = %3 cm").arg(num(t.kcr, 3, m_locale), n1(b), n2(t.kcr * b))
                  << QStringLiteral("τd = %1 · Vd / (kcr · b · h) = %1 · %2 kN / (%3 cm · %4 cm) = %5 N/mm²")
                         .arg(num(1.5, 1, m_locale), n2(o.design * t.kcr * b * h / 15), n2(t.kcr * b), n1(h),
                              n2(o.design))
                  << kmod(o)
                  << QStringLiteral("fv,d = kmod · fv,k / γM = %1 · %2 / %3 = %4 N/mm²")
                         .arg(n2(o.kmod), plain(value("fv,k")), plain(t.gammaM), n2(o.resistance));
            break;
        default: {
            const ec::Value *n =
                values.find(QStringLiteral("l/n %1 %2").arg(c.shortName, o.region < 3 ? QStringLiteral("span")
                                                                                       : QStringLiteral("cantilever")));
            steps << I << QStringLiteral("E0,mean = %1 N/mm²").arg(plain(value("E0,mean")))
                  << sumStep(c.shortName, QStringLiteral("w"), o, QStringLiteral("mm"))
                  << limitStep(o, n ? n->value : std::nan(""));
            break;
        }
        }
        c.steps = steps + c.steps;
    }
}

// The values put into the formulas of the steel checks.
void Builder::steelSteps(EcMember &m, const ec::SteelResult &s, const Values &values) const
{
    auto value = [&](const QString &name) {
        const ec::Value *v = values.find(name);
        return v ? v->value : std::nan("");
    };
    const ec::Profile &p = s.section;
    const ec::SectionClass &k = s.sectionClass;
    const double fy = value(QStringLiteral("fy")), gammaM0 = value(QStringLiteral("gamma_M0"));
    // The class of a part by its c/t: the limit of its class, or of class 3
    // where it lies beyond.
    auto classStep = [&](const QString &part, const char *key, double ratio, int cls) {
        const int shown = std::clamp(cls, 1, 3);
        const double factor = value(QStringLiteral("c/t %1 class %2").arg(QLatin1String(key)).arg(shown));
        return QStringLiteral("%1: c/t = %2 %3 %4 · ε = %5: Klasse %6")
            .arg(part, n2(ratio), cls > 3 ? QStringLiteral(">") : QStringLiteral("\u2264"), plain(factor),
                 n2(factor * k.epsilon))
            .arg(cls);
    };
    const bool plastic = k.section <= 2;
    const double W = plastic ? p.Wpl : p.Iy / (p.h / 20);
    const QString modulus = plastic ? QStringLiteral("Wpl,y = %1 cm³").arg(plain(p.Wpl))
                                    : QStringLiteral("Wel,y = Iy / (h / 2) = %1 cm⁴ / %2 cm = %3 cm³")
                                          .arg(plain(p.Iy), plain(p.h / 20), n2(W));
    const QString Mc = QStringLiteral("Mc,Rd = %1 · fy / γM0 = %2 cm³ · %3 N/mm² / %4 = %5 kNm")
                           .arg(plastic ? QStringLiteral("Wpl,y") : QStringLiteral("Wel,y"), n2(W), plain(fy),
                                plain(gammaM0), n2(s.resistance.Mc));
    const QString epsilon = QStringLiteral("ε = %1 (fy = %2 N/mm²)").arg(n2(k.epsilon), plain(fy));
    const ec::CheckOutcome *outcomes[] = {&s.bending, &s.shear, &s.bendingShear, &s.deflection};
    for (std::size_t i = 0; i < m.checks.size() && i < 4; ++i) {
        EcCheck &c = m.checks[i];
        const ec::CheckOutcome &o = *outcomes[i];
        if (!c.done)
            continue;
        QStringList steps;
        switch (i) {
        case 0:
            steps << sumStep(QStringLiteral("MEd"), QStringLiteral("M"), o, QStringLiteral("kNm")) << epsilon
                  << classStep(QStringLiteral("Gurt"), "flange", k.flangeRatio, k.flange)
                  << classStep(QStringLiteral("Steg"), "web", k.webRatio, k.web) << modulus << Mc;
            break;
        case 1:
            steps << sumStep(QStringLiteral("VEd"), QStringLiteral("V"), o, QStringLiteral("kN"))
                  << QStringLiteral("Av,z = %1 cm²").arg(plain(p.Av))
                  << QStringLiteral("Vpl,Rd = Av,z · fy / (√3 · γM0) = %1 cm² · %2 N/mm² / (√3 · %3) = %4 kN")
                         .arg(plain(p.Av), plain(fy), plain(gammaM0), n2(s.resistance.Vpl))
                  << epsilon
                  << QStringLiteral("hw/tw = (h \u2212 2 · tf) / tw = (%1 \u2212 2 · %2) / %3 = %4 %5 %6 · ε / η = %7")
                         .arg(plain(p.h), plain(p.tf), plain(p.tw), n2(s.webSlenderness),
                              s.webSlenderness > s.webLimit ? QStringLiteral(">") : QStringLiteral("\u2264"),
                              plain(value(QStringLiteral("hw/tw factor"))), n2(s.webLimit))
                         .replace(QStringLiteral("ε / η"),
                                  QStringLiteral("ε / %1").arg(plain(value(QStringLiteral("eta")))));
            break;
        case 2: {
            const double V = std::abs(o.shear), Vpl = s.resistance.Vpl;
            if (o.shearExceeded) {
                steps << QStringLiteral("VEd = %1 kN > Vpl,Rd = %2 kN: der Querschnitt versagt auf Schub")
                             .arg(n2(V), n2(Vpl));
                break;
            }
            steps << QStringLiteral("MEd = %1 kNm und VEd = %2 kN an derselben Stelle").arg(n2(o.design), n2(V));
            if (V <= 0.5 * Vpl) {
                steps << QStringLiteral("VEd = %1 kN \u2264 %2 · Vpl,Rd = %3 kN: My,V,Rd = Mc,Rd = %4 kNm")
                             .arg(n2(V), num(0.5, 1, m_locale), n2(0.5 * Vpl), n2(s.resistance.Mc));
            } else {
                steps << QStringLiteral("ρ = (2 · VEd / Vpl,Rd \u2212 1)² = (2 · %1 / %2 \u2212 1)² = %3")
                             .arg(n2(V), n2(Vpl), num(s.resistance.rho(V), 3, m_locale))
                      << QStringLiteral("My,V,Rd = Mc,Rd \u2212 ρ · Mw,Rd = %1 \u2212 %2 · %3 = %4 kNm")
                             .arg(n2(s.resistance.Mc), num(s.resistance.rho(V), 3, m_locale), n2(s.resistance.Mweb),
                                  n2(o.resistance));
            }
            break;
        }
        default: {
            const ec::Value *n = values.find(o.region < 3 ? QStringLiteral("l/n span") : QStringLiteral("l/n cantilever"));
            steps << QStringLiteral("Iy = %1 cm⁴, E = %2 N/mm²").arg(plain(p.Iy), plain(value(QStringLiteral("E"))))
                  << sumStep(QStringLiteral("w"), QStringLiteral("w"), o, QStringLiteral("mm"))
                  << limitStep(o, n ? n->value : std::nan(""));
            break;
        }
        }
        c.steps = steps + c.steps;
    }
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
        {"bending", "Biegung", "Biegung", "σm,d = Md / W \u2264 fm,d = kh · kmod · fm,k / γM", "σm,d", "fm,d",
         strength + QStringList{QStringLiteral("fm,k"), QStringLiteral("kh h_ref"), QStringLiteral("kh exponent"),
                                QStringLiteral("kh cap")},
         nullptr, true},
        {"shear", "Schub", "Schub", "τd = 1,5 · Vd / (kcr · b · h) \u2264 fv,d = kmod · fv,k / γM", "τd", "fv,d",
         strength + QStringList{QStringLiteral("fv,k"), QStringLiteral("kcr numerator")}, nullptr, true},
        {"deflectionInst", "Durchbiegung w_inst", "w_inst", "w_inst (charakteristisch) \u2264 l / n", "w_inst", "l/n",
         {QStringLiteral("E0,mean")}, "l/n w_inst"},
        {"deflectionFin", "Durchbiegung w_fin", "w_fin",
         "w_fin = w_inst,G (1 + kdef) + w_inst,Q (1 + ψ2 kdef) \u2264 l / n", "w_fin", "l/n",
         {QStringLiteral("E0,mean"), QStringLiteral("kdef")}, "l/n w_fin"},
        {"deflectionNetFin", "Durchbiegung w_net,fin", "w_net,fin", "w_net,fin = w_qs (1 + kdef) \u2264 l / n", "w_net,fin", "l/n",
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
    m.facts << QStringLiteral("A = b · h = %1 cm², W = %2 cm³, I = %3 cm⁴")
                   .arg(n2(t.b * t.h), n2(t.b * t.h * t.h / 6), n2(t.b * t.h * t.h * t.h / 12));
    timberSteps(m, t, values);
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
        {"bending", "Biegung", "Biegung", "MEd \u2264 Mc,Rd = W · fy / γM0 (Wpl in Klasse 1 und 2, Wel in Klasse 3)", "MEd",
         "Mc,Rd", base + classes + QStringList{QStringLiteral("Wpl,y [cm³]"), QStringLiteral("Iy [cm⁴]")}},
        {"shear", "Querkraft", "Querkraft", "VEd \u2264 Vpl,Rd = Av · fy / (√3 · γM0); hw/tw \u2264 72ε/η", "VEd", "Vpl,Rd",
         base + QStringList{QStringLiteral("Avz [cm²]"), QStringLiteral("hw/tw factor"), QStringLiteral("eta")}},
        {"bendingShear", "Biegung mit Querkraft", "M mit V",
         "MEd \u2264 My,V,Rd, abgemindert für VEd > 0,5 Vpl,Rd (EN 1993-1-1, 6.2.8)", "MEd", "My,V,Rd",
         base + classes + QStringList{QStringLiteral("Wpl,y [cm³]"), QStringLiteral("Avz [cm²]")}},
        {"deflection", "Durchbiegung", "w", "w (charakteristisch) \u2264 l / n", "w", "l/n",
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
    const ec::Profile &section = s.section;
    m.facts << QStringLiteral("h = %1 mm, b = %2 mm, tw = %3 mm, tf = %4 mm, r = %5 mm; A = %6 cm², Av,z = %7 cm², "
                              "Iy = %8 cm⁴, Wpl,y = %9 cm³")
                   .arg(plain(section.h), plain(section.b), plain(section.tw), plain(section.tf), plain(section.r),
                        plain(section.A), plain(section.Av), plain(section.Iy), plain(section.Wpl));
    steelSteps(m, s, values);
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
    for (EcMember &m : p.members)
        for (int place : EcPlaceOrder)
            if (std::any_of(m.checks.begin(), m.checks.end(), [place](const EcCheck &c) {
                    return c.at(place) != nullptr;
                }))
                m.places.push_back(place);

    bool anyLoad = false;
    for (const EcMember &m : p.members) {
        p.done = p.done || m.checked;
        for (const EcCheck &c : m.checks)
            anyLoad = anyLoad || c.done;
    }
    if (p.done && !anyLoad)
        p.warnings << QStringLiteral("keine Last: nichts nachzuweisen");
    p.warnings << InactiveLoadWarnings(m_run.inactiveLoads, m_locale);
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

const int EcPlaceOrder[ec::PlaceCount] = {ec::RegionCountEc - 2, ec::SupportPlace(0), 0, ec::SupportPlace(1), 1,
                                          ec::SupportPlace(2),       2, ec::SupportPlace(3), ec::RegionCountEc - 1};

QString EcPlaceName(int place)
{
    if (place >= ec::SupportPlace(0) && place < ec::PlaceCount)
        return QStringLiteral("Auflager %1").arg(QChar(u'A' + (place - ec::SupportPlace(0))));
    return EcRegionName(place);
}

QString EcPlaceKey(int place)
{
    if (place >= ec::SupportPlace(0) && place < ec::PlaceCount)
        return QString(QChar(u'A' + (place - ec::SupportPlace(0))));
    return EcRegionKey(place);
}

std::vector<QStringList> EcPlaceTable(const EcMember &m)
{
    std::vector<QStringList> rows;
    if (m.places.empty())
        return rows;
    QStringList heading{QStringLiteral("Stelle")};
    for (const EcCheck &c : m.checks)
        heading << c.shortName;
    rows.push_back(heading);
    for (int place : m.places) {
        QStringList row{EcPlaceName(place)};
        for (const EcCheck &c : m.checks)
            row << (c.at(place) ? c.at(place)->text : Dash);
        rows.push_back(row);
    }
    return rows;
}

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

const EcPlaceValue *EcCheck::at(int place) const
{
    if (!done || place < 0 || std::size_t(place) >= places.size() || !places[std::size_t(place)].done)
        return nullptr;
    return &places[std::size_t(place)];
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
            for (const QString &step : c.steps)
                lines << QStringLiteral("    ") + step;
            for (const QString &w : c.warnings)
                lines << QStringLiteral("    Warnung: ") + w;
            if (!c.sourceMark.isEmpty())
                lines << QStringLiteral("    ") + c.sourceMark;
        }
        const std::vector<QStringList> table = EcPlaceTable(m);
        if (!table.empty()) {
            lines << QStringLiteral("  Ausnutzung η je Stelle:");
            std::vector<qsizetype> widths(std::size_t(table.front().size()), 0);
            for (const QStringList &row : table)
                for (qsizetype i = 0; i < row.size(); ++i)
                    widths[std::size_t(i)] = std::max(widths[std::size_t(i)], row[i].size());
            for (const QStringList &row : table) {
                QString line = QStringLiteral("    ") + row[0].leftJustified(widths[0]);
                for (qsizetype i = 1; i < row.size(); ++i)
                    line += QStringLiteral("  ") + row[i].rightJustified(widths[std::size_t(i)]);
                lines << line;
            }
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
