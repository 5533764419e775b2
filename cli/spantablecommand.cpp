// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/spantablecommand.h"

#include "cli/eurocodeoutput.h"
#include "cli/runfiles.h"
#include "design/series.h"
#include "eurocode/ecrun.h"
#include "eurocode/spantable.h"
#include "io/spantablereport.h"
#include "presentation/ectexts.h"
#include "presentation/spantabletexts.h"

#include <QRegularExpression>
#include <QSet>

#include <cerrno>
#include <cmath>
#include <cstdio>

#include <sys/stat.h>

namespace varno::cli {

namespace {

// The options a table takes besides its own.
const char *const SharedOptions[] = {"pdf",      "json",     "locale",   "data-dir",     "ec-class",
                                     "ec-steel", "series",   "service-class", "imposed-category", "firma",
                                     "projekt",  "position", "beschreibung",  "bearbeiter"};
const char *const OwnOptions[] = {"span-table", "sections", "profiles", "loads", "spacing", "systems", "csv"};

QString quoted(const QString &text)
{
    return QStringLiteral("\u201E%1\u201C").arg(ShownName(text));
}

// A plain decimal number such as 0.5, 12 or .75, not negative.
std::optional<double> plainNumber(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!plain.match(text.trimmed()).hasMatch())
        return std::nullopt;
    const double value = LeadingNumber(text);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

QStringList items(const QString &list)
{
    QStringList out = list.split(u',');
    for (QString &item : out)
        item = item.trimmed();
    return out;
}

std::optional<QString> readSections(const QString &text, std::vector<ec::SpanSection> &sections)
{
    static const QRegularExpression by(QStringLiteral("[xX\u00D7*]"));
    for (const QString &item : items(text)) {
        const QStringList sizes = item.split(by);
        std::optional<double> b, h;
        if (sizes.size() == 2) {
            b = plainNumber(sizes[0]);
            h = plainNumber(sizes[1]);
        }
        if (!b || !h)
            return QStringLiteral("--sections erwartet Querschnitte b x h in cm wie 6x16,8x20, nicht %1").arg(quoted(item));
        if (!EcSizeAccepted(*b) || !EcSizeAccepted(*h))
            return QStringLiteral("--sections: b und h liegen zwischen %1 und %2 cm, nicht %3")
                .arg(QString::number(EcMinSizeCm), QString::number(EcMaxSizeCm), quoted(item));
        sections.push_back({*b, *h, QString()});
    }
    return std::nullopt;
}

std::optional<QString> readLoads(const QString &text, std::vector<ec::SpanLoadCase> &loads)
{
    for (const QString &item : items(text)) {
        const QStringList parts = item.split(u'/');
        std::optional<double> g, q;
        if (parts.size() == 2) {
            g = plainNumber(parts[0]);
            q = plainNumber(parts[1]);
        }
        if (!g || !q)
            return QStringLiteral("--loads erwartet Lastfälle g/q wie 0.5/2.0,1.0/2.8 (Zahlen ab 0), nicht %1")
                .arg(quoted(item));
        if (*g == 0 && *q == 0)
            return QStringLiteral("--loads: der Lastfall %1 hat keine Last").arg(quoted(item));
        loads.push_back({*g, *q});
    }
    return std::nullopt;
}

std::optional<QString> readSystems(const QString &text, std::vector<int> &systems)
{
    for (const QString &item : items(text)) {
        const int spans = item == QLatin1String("1") ? 1 : item == QLatin1String("2") ? 2 : item == QLatin1String("3") ? 3 : 0;
        if (spans == 0)
            return QStringLiteral("--systems erwartet Feldzahlen 1, 2 oder 3 wie 1,2,3, nicht %1").arg(quoted(item));
        if (std::find(systems.begin(), systems.end(), spans) != systems.end())
            return QStringLiteral("--systems nennt %1 zweimal").arg(quoted(item));
        systems.push_back(spans);
    }
    return std::nullopt;
}

// A file output of the table: claimed, and a new or regular file only with
// the suffix of its kind (a device or FIFO is written into).
std::optional<QString> claimFile(RunFiles &runFiles, const QString &option, const QString &path, const char *suffix)
{
    if (const std::optional<QString> refused = runFiles.claimOutput(option, path, OutputKind::File))
        return refused;
    struct stat info;
    const bool exists = ::stat(NativeName(path).constData(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        return QStringLiteral("%1 %2 ist ein Ordner").arg(option, quoted(path));
    if (exists && !S_ISREG(info.st_mode) && !S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode))
        return QStringLiteral("%1 %2 ist keine gew\u00F6hnliche Datei").arg(option, quoted(path));
    if ((!exists || S_ISREG(info.st_mode)) && !path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
        return QStringLiteral("%1 erwartet eine Datei, deren Name auf %2 endet, nicht %3")
            .arg(option, QLatin1String(suffix), quoted(path));
    return std::nullopt;
}

class Output
{
public:
    void out(const QByteArray &bytes)
    {
        if (m_error == 0 && std::fwrite(bytes.constData(), 1, bytes.size(), stdout) != size_t(bytes.size()))
            m_error = errno != 0 ? errno : EIO;
    }
    static void err(const QString &text)
    {
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
    }
    static int usage(const QString &message)
    {
        err(QStringLiteral("varno-calc: %1\nWeitere Hinweise: varno-calc --help\n").arg(message));
        return UsageOrFileError;
    }
    // The status after standard output is flushed: a failed write is a
    // usage or file error.
    int finish(int status)
    {
        if (std::fflush(stdout) != 0 && m_error == 0)
            m_error = errno != 0 ? errno : EIO;
        if (m_error == 0 && std::ferror(stdout))
            m_error = EIO;
        if (m_error == 0)
            return status;
        err(QStringLiteral("varno-calc: Die Standardausgabe kann nicht geschrieben werden (%1).\n")
                .arg(SystemErrorText(m_error)));
        return UsageOrFileError;
    }

private:
    int m_error = 0;
};

} // namespace

QList<QCommandLineOption> SpanTableOptions()
{
    QList<QCommandLineOption> out{QCommandLineOption(QStringLiteral("span-table"), QString())};
    for (const char *name : OwnOptions)
        if (QLatin1String(name) != QLatin1String("span-table"))
            out << QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    return out;
}

std::optional<QString> SpanTableOptionWithout(const QCommandLineParser &parser)
{
    if (parser.isSet(QStringLiteral("span-table")))
        return std::nullopt;
    for (const char *name : OwnOptions)
        if (parser.isSet(QString::fromLatin1(name)))
            return QStringLiteral("--%1 gilt nur mit --span-table").arg(QLatin1String(name));
    return std::nullopt;
}

int RunSpanTableCommand(const QCommandLineParser &parser, const CalcOptions &options)
{
    Output output;
    auto isSet = [&](const char *name) { return parser.isSet(QString::fromLatin1(name)); };
    auto value = [&](const char *name) { return parser.value(QString::fromLatin1(name)).trimmed(); };

    // What a table does not take: project files and the options of a file.
    QSet<QString> allowed;
    for (const char *name : SharedOptions)
        allowed.insert(QString::fromLatin1(name));
    for (const char *name : OwnOptions)
        allowed.insert(QString::fromLatin1(name));
    for (const QString &name : parser.optionNames())
        if (!allowed.contains(name))
            return Output::usage(QStringLiteral("--%1 gilt nicht mit --span-table").arg(name));
    if (!parser.positionalArguments().isEmpty())
        return Output::usage(QStringLiteral("--span-table rechnet keine Projektdatei (hier %1)")
                                 .arg(quoted(parser.positionalArguments().constFirst())));

    SpanTableRun run;
    ec::SpanTableRequest &request = run.request;
    const bool timber = isSet("ec-class"), steel = isSet("ec-steel");
    if (timber == steel)
        return Output::usage(timber ? QStringLiteral("--span-table nimmt --ec-class oder --ec-steel, nicht beide")
                                    : QStringLiteral("--span-table braucht --ec-class (Holz) oder --ec-steel (Stahl)"));
    request.material = timber ? ec::SpanMaterial::Timber : ec::SpanMaterial::Steel;
    static const char *const steelOnly[] = {"profiles", "series"}, *const timberOnly[] = {"sections", "service-class"};
    for (const char *name : timber ? steelOnly : timberOnly)
        if (isSet(name))
            return Output::usage(QStringLiteral("--%1 gilt nur mit %2")
                                     .arg(QLatin1String(name), timber ? QStringLiteral("--ec-steel")
                                                                      : QStringLiteral("--ec-class")));
    if (isSet("profiles") && isSet("series"))
        return Output::usage(QStringLiteral("--profiles und --series schlie\u00DFen sich aus"));
    ec::CheckOptions &o = request.options;
    if (isSet("service-class")) {
        const QString v = value("service-class");
        if (v != QLatin1String("1") && v != QLatin1String("2") && v != QLatin1String("3"))
            return Output::usage(QStringLiteral("--service-class erwartet 1, 2 oder 3, nicht \u201E%1\u201C").arg(v));
        o.serviceClass = v.toInt();
    }
    if (isSet("imposed-category")) {
        const QString v = value("imposed-category").toUpper();
        if (v.size() != 1 || v[0] < u'A' || v[0] > u'H')
            return Output::usage(
                QStringLiteral("unbekannte Nutzlastkategorie \u201E%1\u201C (A bis H)").arg(value("imposed-category")));
        o.imposedCategory = v[0];
    }
    if (timber) {
        if (isSet("sections")) {
            if (const std::optional<QString> error = readSections(value("sections"), request.sections))
                return Output::usage(*error);
        } else {
            request.sections = ec::DefaultTimberSections();
        }
    }
    if (!isSet("loads"))
        return Output::usage(QStringLiteral("--span-table braucht --loads mit den Lastf\u00E4llen g/q"));
    if (const std::optional<QString> error = readLoads(value("loads"), request.loadCases))
        return Output::usage(*error);
    if (isSet("spacing")) {
        const std::optional<double> e = plainNumber(value("spacing"));
        if (!e || !(*e > 0))
            return Output::usage(QStringLiteral("--spacing erwartet den Abstand in m als positive Zahl wie 0.625, "
                                                "nicht %1")
                                     .arg(quoted(value("spacing"))));
        run.spacing = *e;
        run.areaLoads = request.loadCases;
        for (ec::SpanLoadCase &c : request.loadCases) {
            c.g *= *e;
            c.q *= *e;
        }
    }
    if (isSet("systems")) {
        if (const std::optional<QString> error = readSystems(value("systems"), request.systems))
            return Output::usage(*error);
    } else {
        request.systems = {1, 2, 3};
    }

    std::vector<ec::DataProblem> problems;
    const ec::Data data = ec::ReadData(options.dataDirectory, problems);
    if (problems.empty()) {
        EurocodeSettings names;
        names.timberClass = value("ec-class");
        names.steelGrade = value("ec-steel");
        if (const std::optional<QString> error = CheckEurocodeNames(names, data))
            return Output::usage(*error);
        o.timberClass = names.timberClass;
        o.steelGrade = names.steelGrade;
        if (steel && isSet("profiles")) {
            for (const QString &name : items(value("profiles"))) {
                const ec::Profile *profile = data.profile(name);
                if (!profile)
                    return Output::usage(
                        QStringLiteral("unbekanntes Profil %1 (z. B. \u201EIPE 200\u201C, \u201EHE 300 A\u201C)")
                            .arg(quoted(name)));
                request.sections.push_back({0, 0, profile->designation});
            }
        } else if (steel) {
            const QString series = ec::SeriesKey(QLatin1String(SeriesAt(options.series).name));
            for (const ec::Profile &p : data.profiles)
                if (p.series == series)
                    request.sections.push_back({0, 0, p.designation});
            if (request.sections.empty())
                return Output::usage(QStringLiteral("die Profildaten enthalten kein Profil der Reihe %1")
                                         .arg(QLatin1String(SeriesAt(options.series).name)));
        }
    }

    // Nothing is written over a file the run reads, and each output has its
    // own place.
    RunFiles runFiles;
    for (const char *table : ec::DataFileNames)
        runFiles.addInput(options.dataDirectory + u'/' + QLatin1String(table));
    if (const std::optional<QString> refused = runFiles.checkStandardOutput())
        return Output::usage(*refused);
    for (const auto &[option, suffix] : {std::pair{"csv", ".csv"}, std::pair{"pdf", ".pdf"}})
        if (isSet(option))
            if (const std::optional<QString> refused =
                    claimFile(runFiles, QStringLiteral("--") + QLatin1String(option), value(option), suffix))
                return Output::usage(*refused);

    if (problems.empty())
        run.table = ec::ComputeSpanTable(request, data);
    else
        run.table.problems = problems;

    const bool json = isSet("json");
    const SpanTablePresentation shown = PresentSpanTable(run, json ? QLocale::c() : options.locale);
    int status = shown.met() ? Computed : Refused;
    for (const QString &problem : shown.problems)
        Output::err(QStringLiteral("varno-calc: Bemessungstabelle nicht berechnet: %1\n").arg(problem));
    for (const QString &error : shown.errors)
        Output::err(QStringLiteral("varno-calc: Bemessungstabelle: %1\n").arg(error));

    auto write = [&](const char *option, const QByteArray &bytes, const QString &why) {
        QString reason = why;
        if (!bytes.isEmpty() && runFiles.write(value(option), bytes, &reason))
            return;
        Output::err(QStringLiteral("varno-calc: Die Bemessungstabelle kann nicht als %1 gespeichert werden (%2).\n")
                        .arg(quoted(value(option)), reason));
        status = UsageOrFileError;
    };
    if (shown.problems.isEmpty()) {
        if (isSet("csv"))
            write("csv", SpanTableCsv(run, shown), QString());
        if (isSet("pdf")) {
            // The document is German, whatever the locale of the text.
            const SpanTablePresentation german = PresentSpanTable(run, EcReportLocale());
            QString why;
            const QByteArray pdf = SpanTablePdfBytes(
                german,
                {parser.value(QStringLiteral("firma")), parser.value(QStringLiteral("projekt")),
                 parser.value(QStringLiteral("position")), parser.value(QStringLiteral("beschreibung")),
                 parser.value(QStringLiteral("bearbeiter"))},
                &why);
            write("pdf", pdf, why);
        }
    } else if (isSet("csv") || isSet("pdf")) {
        Output::err(QStringLiteral("varno-calc: keine Bemessungstabelle geschrieben\n"));
    }
    if (json)
        output.out(SpanTableJson(run, shown) + '\n');
    else
        output.out((SpanTableTextLines(shown).join(u'\n') + u'\n').toUtf8());
    return output.finish(status);
}

} // namespace varno::cli
