// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/ectexts.h"

#include <QRegularExpression>
#include <QStringList>

namespace varno {

namespace {

const char *const ActionLetters[ec::ActionCount] = {"G", "Q", "S", "W"};
const char *const ActionWords[ec::ActionCount] = {"ständige Last g", "Nutzlast q", "Schnee s", "Wind w"};

QString kindText(ec::CombinationKind kind)
{
    switch (kind) {
    case ec::CombinationKind::Fundamental:
        return QStringLiteral("Grundkombination");
    case ec::CombinationKind::Characteristic:
        return QStringLiteral("charakteristische Kombination");
    case ec::CombinationKind::QuasiPermanent:
        return QStringLiteral("quasi-ständige Kombination");
    case ec::CombinationKind::Final:
        return QStringLiteral("Endverformung w_fin");
    case ec::CombinationKind::NetFinal:
        return QStringLiteral("Endverformung w_net,fin aus der quasi-ständigen Kombination");
    }
    return {};
}

QString regionList(unsigned regions)
{
    QStringList names;
    for (int r = 0; r < ec::RegionCountEc; ++r)
        if (regions & (1u << r))
            names << EcRegionName(r);
    return names.join(QStringLiteral(", "));
}

} // namespace

QString EcRegionName(int region)
{
    if (region < 0 || region >= RegionCount)
        return {};
    return texts::RegionLabels[region];
}

QString EcRegionKey(int region)
{
    static const char *const keys[ec::RegionCountEc] = {"F1", "F2", "F3", "Kl", "Kr"};
    return region >= 0 && region < ec::RegionCountEc ? QString::fromLatin1(keys[region]) : QString();
}

QString EcActionName(int action)
{
    static const QString names[ec::ActionCount] = {QStringLiteral("Eigengewicht g"), QStringLiteral("Nutzlast q"),
                                                   QStringLiteral("Schnee s"), QStringLiteral("Wind w")};
    return action >= 0 && action < ec::ActionCount ? names[action] : QString();
}

QString EcUnitText(ec::CheckUnit unit)
{
    switch (unit) {
    case ec::CheckUnit::Stress:
        return QStringLiteral("N/mm²");
    case ec::CheckUnit::Deflection:
        return QStringLiteral("mm");
    case ec::CheckUnit::Moment:
        return QStringLiteral("kNm");
    case ec::CheckUnit::Force:
        return QStringLiteral("kN");
    }
    return {};
}

QString EcDurationText(ec::Duration duration)
{
    static const char *const names[ec::DurationCount] = {"ständig", "lang",           "mittel",
                                                         "kurz",    "kurz/sehr kurz", "sehr kurz"};
    return duration >= 0 && duration < ec::DurationCount ? QString::fromUtf8(names[duration]) : QString();
}

QString EcCombinationText(const ec::Combination &c, const QLocale &locale)
{
    QStringList terms;
    for (int a = 0; a < ec::ActionCount; ++a)
        if ((c.actions & (1u << a)) && c.factor[a] != 0 && c.regionsOn[a] != 0)
            terms << QStringLiteral("%1·%2 (%3)")
                         .arg(FormatFixed(c.factor[a], 2, locale), QLatin1String(ActionLetters[a]),
                              regionList(c.regionsOn[a]));
    QString head = kindText(c.kind);
    if (c.leading >= 0 && c.kind != ec::CombinationKind::QuasiPermanent && c.kind != ec::CombinationKind::NetFinal)
        head += QStringLiteral(", %1 führend").arg(QString::fromUtf8(ActionWords[c.leading]));
    else if (c.actions == 1u)
        head += QStringLiteral(", nur ständige Last");
    return head + QStringLiteral(": ") + terms.join(QStringLiteral(" + "));
}

QString EcProblemText(const ec::DataProblem &p)
{
    using K = ec::DataProblem;
    switch (p.kind) {
    case K::NoFile:
        return p.text.isEmpty() ? QStringLiteral("%1: Datei nicht lesbar").arg(p.file)
                                : QStringLiteral("%1: Datei nicht lesbar (%2)").arg(p.file, p.text);
    case K::NoHeader:
        return QStringLiteral("%1: keine Kopfzeile").arg(p.file);
    case K::NoColumn:
        return QStringLiteral("%1, Zeile %2: Spalte %3 fehlt").arg(p.file).arg(p.line).arg(p.column);
    case K::BadNumber:
        return QStringLiteral("%1, Zeile %2, Spalte %3: Wert \u201E%4\u201C nicht lesbar")
            .arg(p.file)
            .arg(p.line)
            .arg(p.column, p.text);
    case K::BadRow:
        return QStringLiteral("%1, Zeile %2: Zeile nicht lesbar (falsche Spaltenzahl oder offenes \")")
            .arg(p.file)
            .arg(p.line);
    case K::NoKey:
        return QStringLiteral("%1: Wert %2 fehlt").arg(p.file, p.column);
    case K::NotPositive:
        return QStringLiteral("%1, Zeile %2, Spalte %3: Wert \u201E%4\u201C nicht größer als 0")
            .arg(p.file)
            .arg(p.line)
            .arg(p.column, p.text);
    case K::Duplicate:
        return QStringLiteral("%1, Zeile %2: %3 steht schon in %4, Zeile %5")
            .arg(p.file)
            .arg(p.line)
            .arg(p.text, p.firstFile)
            .arg(p.firstLine);
    case K::TooLarge:
        return QStringLiteral("%1: Datei größer als %2 MB, nicht gelesen").arg(p.file).arg(ec::MaxDataFileBytes / (1024 * 1024));
    }
    return {};
}

QString EcValueSymbol(const QString &name)
{
    static const struct
    {
        const char *name, *symbol;
    } fixed[] = {
        {"gamma_G,sup", "γG,sup"},
        {"gamma_G,inf", "γG,inf"},
        {"gamma_Q", "γQ"},
        {"gamma_M", "γM"},
        {"gamma_M0", "γM0"},
        {"gamma_M1", "γM1"},
        {"kcr numerator", "Zähler in kcr = Zähler / fv,k"},
        {"kh h_ref", "Bezugshöhe href in kh"},
        {"kh exponent", "Exponent in kh"},
        {"kh cap", "kh,max"},
        {"hw/tw factor", "Faktor der Grenze hw/tw ≤ Faktor · ε/η"},
        {"eta", "η der Grenze hw/tw ≤ Faktor · ε/η"},
        {"Avz [cm²]", "Av,z [cm²]"},
    };
    for (const auto &f : fixed)
        if (name == QString::fromUtf8(f.name))
            return QString::fromUtf8(f.symbol);
    static const QRegularExpression psi(QStringLiteral("^psi([02]),([QSW])$"));
    if (const QRegularExpressionMatch m = psi.match(name); m.hasMatch())
        return QStringLiteral("ψ%1,%2").arg(m.captured(1), m.captured(2));
    static const QRegularExpression kled(QStringLiteral("^KLED,([GQSW])$"));
    if (const QRegularExpressionMatch m = kled.match(name); m.hasMatch())
        return QStringLiteral("KLED %1").arg(m.captured(1));
    static const QRegularExpression kmod(QStringLiteral("^kmod\\((\\w+)\\)$"));
    if (const QRegularExpressionMatch m = kmod.match(name); m.hasMatch())
        if (const std::optional<ec::Duration> d = ec::DurationByName(m.captured(1)))
            return QStringLiteral("kmod (%1)").arg(EcDurationText(*d));
    // The deflection limits: "l/n w_inst span" is n of w_inst ≤ l / n in a span.
    static const QRegularExpression limit(QStringLiteral("^l/n(?: (\\S+))? (span|cantilever)$"));
    if (const QRegularExpressionMatch m = limit.match(name); m.hasMatch())
        return QStringLiteral("n (%1 ≤ l/n, %2)")
            .arg(m.captured(1).isEmpty() ? QStringLiteral("w") : m.captured(1),
                 m.captured(2) == QLatin1String("span") ? QStringLiteral("Feld") : QStringLiteral("Kragarm"));
    static const QRegularExpression classLimit(QStringLiteral("^c/t (flange|web) class ([123])$"));
    if (const QRegularExpressionMatch m = classLimit.match(name); m.hasMatch())
        return QStringLiteral("c/t %1 Klasse %2 (· ε)")
            .arg(m.captured(1) == QLatin1String("flange") ? QStringLiteral("Gurt") : QStringLiteral("Steg"),
                 m.captured(2));
    return name;
}

} // namespace varno
