// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/ectexts.h"

#include <cmath>

namespace varno {

namespace {

const QString Dash = QStringLiteral("\u2013");

QString num(double value, int decimals, const QLocale &locale)
{
    if (!std::isfinite(value))
        return Dash;
    return FormatFixed(value, decimals, locale);
}

QString unitText(ec::CheckUnit unit)
{
    switch (unit) {
    case ec::CheckUnit::Stress:
        return QStringLiteral("N/mm²");
    case ec::CheckUnit::Deflection:
        return QStringLiteral("mm");
    case ec::CheckUnit::Moment:
        return QStringLiteral("kNm");
    default:
        return QStringLiteral("kN");
    }
}

QString whereText(const ec::CheckOutcome &o, const QLocale &locale)
{
    if (o.region < 0)
        return {};
    return QStringLiteral("%1, x = %2 m").arg(EcRegionName(o.region), num(o.x, 2, locale));
}

EcCheckRow row(const QString &name, const QString &formula, const QString &designSymbol,
               const QString &resistanceSymbol, const ec::CheckOutcome &o, const QLocale &locale,
               const QString &extra = QString())
{
    EcCheckRow r;
    r.name = name;
    r.formula = formula;
    r.done = o.done;
    r.utilisation = o.utilisation;
    if (!o.done)
        return r;
    const int decimals = o.unit == ec::CheckUnit::Deflection ? 1 : 2;
    const QString unit = unitText(o.unit);
    r.numbers = QStringLiteral("%1 = %2 %3 \u2264 %4 = %5 %3")
                    .arg(designSymbol, num(o.design, decimals, locale), unit, resistanceSymbol,
                         num(o.resistance, decimals, locale));
    if (!extra.isEmpty())
        r.numbers += QStringLiteral("; ") + extra;
    r.where = whereText(o, locale);
    r.combination = EcCombinationText(o.combination, locale);
    return r;
}

QString kindText(ec::CombinationKind kind)
{
    switch (kind) {
    case ec::CombinationKind::Fundamental:
        return QStringLiteral("Grundkombination (EN 1990, 6.10)");
    case ec::CombinationKind::Characteristic:
        return QStringLiteral("charakteristische Kombination");
    case ec::CombinationKind::QuasiPermanent:
        return QStringLiteral("quasi-ständige Kombination");
    case ec::CombinationKind::Final:
        return QStringLiteral("Endverformung w_fin");
    default:
        return QStringLiteral("Endverformung w_net,fin");
    }
}

const QString ActionSymbols[ec::ActionCount] = {QStringLiteral("G"), QStringLiteral("Q"), QStringLiteral("S"),
                                                QStringLiteral("W")};

} // namespace

QString EcRegionName(int region)
{
    if (region < 0 || region >= RegionCount)
        return {};
    return texts::RegionLabels[region];
}

QString EcUtilisationText(bool done, double utilisation, const QLocale &locale)
{
    if (!done || !std::isfinite(utilisation))
        return Dash;
    return QStringLiteral("\u03B7 = ") + FormatFixed(utilisation, 2, locale);
}

QString EcActionName(int action)
{
    static const QString names[ec::ActionCount] = {QStringLiteral("Eigengewicht g"), QStringLiteral("Nutzlast q"),
                                                   QStringLiteral("Schnee s"), QStringLiteral("Wind w")};
    return action >= 0 && action < ec::ActionCount ? names[action] : QString();
}

QString EcCombinationText(const ec::Combination &c, const QLocale &locale)
{
    QStringList terms;
    for (int a = 0; a < ec::ActionCount; ++a) {
        if (!(c.actions & (1u << a)))
            continue;
        QString term = num(c.factor[a], 2, locale) + QStringLiteral(" \u00B7 ") + ActionSymbols[a];
        if (a != ec::ActG) {
            QStringList regions;
            for (int r = 0; r < ec::RegionCountEc; ++r)
                if (c.regionsOn[a] & (1u << r))
                    regions << EcRegionName(r);
            if (a == c.leading)
                term += QStringLiteral(" (führend)");
            if (!regions.isEmpty())
                term += QStringLiteral(" auf ") + regions.join(QStringLiteral(", "));
        }
        terms << term;
    }
    return kindText(c.kind) + QStringLiteral(": ") + terms.join(QStringLiteral(" + "));
}

std::vector<EcCheckRow> EcTimberRows(const ec::TimberResult &t, const QLocale &locale)
{
    std::vector<EcCheckRow> rows;
    EcCheckRow bending = row(QStringLiteral("Biegung"),
                             QStringLiteral("σm,d = Md / W \u2264 fm,d = kh · kmod · fm,k / γM"),
                             QStringLiteral("σm,d"), QStringLiteral("fm,d"), t.bending, locale,
                             QStringLiteral("kmod = %1, kh = %2, γM = %3")
                                 .arg(num(t.bending.kmod, 2, locale), num(t.kh, 3, locale), num(t.gammaM, 2, locale)));
    rows.push_back(bending);
    rows.push_back(row(QStringLiteral("Schub"),
                       QStringLiteral("τd = 1,5 · Vd / (kcr · b · h) \u2264 fv,d = kmod · fv,k / γM"),
                       QStringLiteral("τd"), QStringLiteral("fv,d"), t.shear, locale,
                       QStringLiteral("kmod = %1, kcr = %2").arg(num(t.shear.kmod, 2, locale), num(t.kcr, 3, locale))));
    rows.push_back(row(QStringLiteral("Durchbiegung w_inst"),
                       QStringLiteral("w_inst (charakteristisch) \u2264 l / n"), QStringLiteral("w_inst"),
                       QStringLiteral("l/n"), t.deflectionInst, locale));
    rows.push_back(row(QStringLiteral("Durchbiegung w_fin"),
                       QStringLiteral("w_fin = w_inst,G (1 + kdef) + w_inst,Q (1 + ψ2 kdef) \u2264 l / n"),
                       QStringLiteral("w_fin"), QStringLiteral("l/n"), t.deflectionFin, locale,
                       QStringLiteral("kdef = %1").arg(num(t.kdef, 2, locale))));
    rows.push_back(row(QStringLiteral("Durchbiegung w_net,fin"),
                       QStringLiteral("w_net,fin = w_qs (1 + kdef) \u2264 l / n"), QStringLiteral("w_net,fin"),
                       QStringLiteral("l/n"), t.deflectionNetFin, locale));
    return rows;
}

std::vector<EcCheckRow> EcSteelRows(const ec::SteelResult &s, const QLocale &locale)
{
    std::vector<EcCheckRow> rows;
    rows.push_back(row(QStringLiteral("Biegung"),
                       QStringLiteral("MEd \u2264 Mc,Rd = W · fy / γM0 (Wpl in Klasse 1 und 2, Wel in Klasse 3)"),
                       QStringLiteral("MEd"), QStringLiteral("Mc,Rd"), s.bending, locale,
                       QStringLiteral("Querschnittsklasse %1").arg(s.sectionClass.section)));
    rows.push_back(row(QStringLiteral("Querkraft"), QStringLiteral("VEd \u2264 Vpl,Rd = Av · fy / (√3 · γM0)"),
                       QStringLiteral("VEd"), QStringLiteral("Vpl,Rd"), s.shear, locale,
                       QStringLiteral("hw/tw = %1 \u2264 %2").arg(num(s.webSlenderness, 1, locale),
                                                                  num(s.webLimit, 1, locale))));
    rows.push_back(row(QStringLiteral("Biegung mit Querkraft"),
                       QStringLiteral("MEd \u2264 My,V,Rd, abgemindert für VEd > 0,5 Vpl,Rd (EN 1993-1-1, 6.2.8)"),
                       QStringLiteral("MEd"), QStringLiteral("My,V,Rd"), s.bendingShear, locale,
                       QStringLiteral("VEd = %1 kN").arg(num(std::abs(s.bendingShear.shear), 2, locale))));
    rows.push_back(row(QStringLiteral("Durchbiegung"), QStringLiteral("w (charakteristisch) \u2264 l / n"),
                       QStringLiteral("w"), QStringLiteral("l/n"), s.deflection, locale));
    return rows;
}

QString EcTimberSection(const ec::TimberResult &t, const QLocale &locale)
{
    if (!t.done)
        return Dash;
    QString text = QStringLiteral("%1 × %2 cm").arg(num(t.b, 1, locale), num(t.h, 1, locale));
    if (t.sized && t.hRequired <= 0)
        return text + QStringLiteral(" reicht nicht (keine Höhe bis %1 cm)")
                          .arg(num(ec::MaxTimberHeightMm / 10.0, 0, locale));
    if (t.sized)
        return text + QStringLiteral(" (bemessen)");
    if (t.hRequired > 0)
        return text + QStringLiteral(" (erforderlich h = %1 cm)").arg(num(t.hRequired, 1, locale));
    return text;
}

QString EcSteelSection(const ec::SteelResult &s, const QLocale &locale)
{
    if (!s.done)
        return Dash;
    if (s.noneAdequate)
        return s.profile + QStringLiteral(" (kein Profil der Reihe reicht)");
    return s.profile + (s.sized ? QStringLiteral(" (bemessen)") : QString());
}

QString EcProblemText(const ec::DataProblem &p)
{
    using K = ec::DataProblem;
    switch (p.kind) {
    case K::NoFile:
        return QStringLiteral("Die Datei %1 fehlt oder kann nicht gelesen werden.").arg(p.file);
    case K::NoHeader:
        return QStringLiteral("%1: die Kopfzeile fehlt oder ist unlesbar.").arg(p.file);
    case K::NoColumn:
        return QStringLiteral("%1: die Spalte \u201E%2\u201C fehlt.").arg(p.file, p.column);
    case K::NoKey:
        return QStringLiteral("%1: der Wert \u201E%2\u201C fehlt.").arg(p.file, p.column);
    case K::BadRow:
        return QStringLiteral("%1, Zeile %2: die Zeile ist unlesbar (\u201E%3\u201C).").arg(p.file).arg(p.line).arg(p.text);
    case K::NotPositive:
        return QStringLiteral("%1, Zeile %2, Spalte \u201E%3\u201C: \u201E%4\u201C ist nicht zulässig, der Wert muss "
                              "größer als 0 sein (ψ mindestens 0).")
            .arg(p.file)
            .arg(p.line)
            .arg(p.column, p.text);
    case K::Duplicate:
        return QStringLiteral("%1, Zeile %2: \u201E%3\u201C steht schon in %4, Zeile %5; kein Wert wird ersetzt.")
            .arg(p.file)
            .arg(p.line)
            .arg(p.text, p.firstFile)
            .arg(p.firstLine);
    case K::TooLarge:
        return QStringLiteral("Die Datei %1 ist größer als %2 MB und wird nicht gelesen.")
            .arg(p.file)
            .arg(ec::MaxDataFileBytes / (1024 * 1024));
    default:
        return QStringLiteral("%1, Zeile %2, Spalte \u201E%3\u201C: \u201E%4\u201C ist keine Zahl.")
            .arg(p.file)
            .arg(p.line)
            .arg(p.column, p.text);
    }
}

QString EcValueText(const ec::NamedValue &v, const QLocale &locale)
{
    const double value = v.value.value;
    // The load-duration classes are values by their names.
    if (v.name.startsWith(QLatin1String("KLED")) && value >= 0 && value < double(int(ec::DurationCount))) {
        static const char *const names[ec::DurationCount] = {"ständig", "lang",           "mittel",
                                                             "kurz",    "kurz/sehr kurz", "sehr kurz"};
        return QStringLiteral("%1 = %2   [%3]").arg(v.name, QString::fromUtf8(names[int(value)]), v.value.key);
    }
    const int decimals = value == std::floor(value) && std::abs(value) >= 10 ? 0 : 3;
    QString text = QStringLiteral("%1 = %2   [%3]").arg(v.name, num(value, decimals, locale), v.value.key);
    if (!v.value.cited)
        text += QStringLiteral(" (Quelle: nicht belegt)");
    return text;
}

QStringList EcAssumptions()
{
    return {
        QStringLiteral("Die Lasten werden nach EN 1990 kombiniert: jede veränderliche Einwirkung feldweise "
                       "ungünstig, jede einmal führend, die übrigen mit ψ0."),
        QStringLiteral("Die ständige Einwirkung G wirkt auf allen Feldern mit demselben Faktor (1,35 oder 1,00)."),
        QStringLiteral("Einzellasten gehören zu der im Fenster gewählten Einwirkung."),
        QStringLiteral("Holz: der gedrückte Rand ist seitlich gehalten (kcrit = 1); die Schubverformung bleibt "
                       "in w unberücksichtigt."),
        QStringLiteral("Stahl: der gedrückte Gurt ist gegen Biegedrillknicken gehalten."),
        QStringLiteral("Nicht nachgewiesen: Brandfall, Schwingungen, Auflagerpressung, Biegedrillknicken, "
                       "Ausklinkungen und Durchbrüche."),
        QStringLiteral("Werte ohne zitierfähige Quelle sind als solche gekennzeichnet; im Fenster geänderte "
                       "Durchbiegungsgrenzen ebenso."),
    };
}

} // namespace varno
