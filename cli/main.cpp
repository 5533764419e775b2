// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// varno-calc: computes project files (*.lof) from the command line, as the
// results command of a freshly started program computes them after opening
// the file, and prints the results, optionally as JSON or as a PDF report,
// and writes the pictures as SVG and PNG files.

#include "cli/calculation.h"
#include "cli/envelopeoutput.h"
#include "cli/eurocodeoutput.h"
#include "cli/eurocodepdf.h"
#include "cli/nativefiles.h"
#include "cli/pictures.h"
#include "cli/projectsettings.h"
#include "cli/runfiles.h"
#include "cli/runtimedirectory.h"
#include "cli/spantablecommand.h"
#include "design/design.h"
#include "design/series.h"
#include "eurocode/ecdata.h"
#include "io/picturefiles.h"
#include "io/report.h"
#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace varno;
using namespace varno::cli;

namespace {

const char *const HelpText =
    "Aufruf: varno-calc [Optionen] DATEI.varno|DATEI.lof...\n"
    "\n"
    "Berechnet Durchlauftr\u00E4ger aus Projektdateien: Schnittgr\u00F6\u00DFen, Auflagerkr\u00E4fte\n"
    "und die Bemessung in Holz und Stahl. Jede Datei wird so berechnet, wie das\n"
    "Programm sie nach dem Start mit dieser Datei (varno DATEI.lof) berechnet.\n"
    "Eine Varno-Projektdatei (*.varno) bringt ihre Einstellungen mit (Breite,\n"
    "Grenzen, Reihe, Kopfzeilen, Eurocode-Eingaben); eine angegebene Option gilt\n"
    "statt der Einstellung der Datei.\n"
    "\n"
    "Optionen:\n"
    "  --json                    je Datei ein JSON-Objekt in einer Zeile\n"
    "  --width CM                Holzbreite b in cm (Vorgabe 8.0); Breite und Grenzen\n"
    "                            sind positive Dezimalzahlen wie 8.5 oder 300\n"
    "  --span-limit N            Durchbiegung FeldL / N (Vorgabe 300)\n"
    "  --cantilever-limit N      Durchbiegung KragL / N (Vorgabe 150)\n"
    "  --series IPE|HE-A|HE-B    Profilreihe (Vorgabe HE-A)\n"
    "  --timber-grade I          Holzsorte, Listenposition 0 bis 13 (Vorgabe: aus der Datei)\n"
    "  --steel-grade I           Stahlsorte, Listenposition 0 bis 2 (Vorgabe: aus der Datei)\n"
    "  --locale NAME             Zahlenformat der Ausgabe, z. B. de_DE oder C\n"
    "                            (Vorgabe: das des Benutzers)\n"
    "  --data-dir DIR            Ordner mit wert2.txt, wert3.txt und den\n"
    "                            Eurocode-Tabellen *.csv\n"
    "                            (Vorgabe: der Ordner des Programms)\n"
    "  --pdf DATEI.pdf           schreibt den Bericht (je Datei eine Seite); nie \u00FCber\n"
    "                            eine Eingabe, nur in DATEI.pdf, ein Ger\u00E4t oder FIFO;\n"
    "                            - schreibt ihn allein auf die Standardausgabe\n"
    "  --firma TEXT              Firma im Bericht\n"
    "  --projekt TEXT            Projekt im Bericht\n"
    "  --position TEXT           Position im Bericht\n"
    "  --beschreibung TEXT       Beschreibung im Bericht des Eurocode-Nachweises\n"
    "  --bearbeiter TEXT         Bearbeiter im Bericht des Eurocode-Nachweises\n"
    "  --system TEXT             Systembezeichnung im Bericht (Vorgabe leer)\n"
    "  --pictures                f\u00FCgt jedem Bericht (auch dem des Eurocode-\n"
    "                            Nachweises) eine Seite mit den drei Bildern an\n"
    "  --svg DIR                 schreibt je Datei NAME-system.svg, NAME-moment.svg\n"
    "                            und NAME-shear.svg in den Ordner DIR\n"
    "  --png DIR                 ebenso als PNG-Bilder\n"
    "  --size BxH                Bildgr\u00F6\u00DFe f\u00FCr --svg und --png\n"
    "                            (Vorgabe 1000x300; PNG mit doppelter Pixelzahl)\n"
    "  --save-project ZIEL       speichert das Gelesene mit den angegebenen Optionen\n"
    "                            als Varno-Projektdatei: ZIEL.varno f\u00FCr eine Datei\n"
    "                            oder ein Ordner, der je Datei NAME.varno aufnimmt;\n"
    "                            nie \u00FCber eine Eingabe\n"
    "  --envelope                gibt auch die Umh\u00FCllende der feldweise\n"
    "                            ver\u00E4nderlichen Lasten aus\n"
    "  --eurocode                Nachweise nach Eurocode (EN 1990, EN 1995-1-1,\n"
    "                            EN 1993-1-1) zus\u00E4tzlich zur Bemessung\n"
    "  --ec-class NAME           Festigkeitsklasse, z. B. C24 oder GL28h\n"
    "                            (Vorgabe: aus der Holzsorte abgeleitet)\n"
    "  --service-class 1|2|3     Nutzungsklasse (Vorgabe 1)\n"
    "  --ec-height CM            diese H\u00F6he h nachweisen, 0.1 bis 300 cm\n"
    "                            (Vorgabe: bemessen)\n"
    "  --ec-steel S235|S275|S355 Stahlsorte (Vorgabe: aus der Stahlsorte)\n"
    "  --ec-profile NAME         dieses Profil nachweisen, z. B. \"IPE 200\"\n"
    "                            (Vorgabe: leichtestes ausreichendes der Reihe)\n"
    "  --imposed-category A..H   Kategorie der Nutzlast q (Vorgabe A)\n"
    "  --snow-altitude low|high  Schnee bis oder \u00FCber 1000 m \u00FC. NN (Vorgabe low)\n"
    "  --point-loads g|q|s|w     Einwirkung der Einzellasten (Vorgabe g)\n"
    "  --span-table              statt Projektdateien eine Bemessungstabelle: die\n"
    "                            gr\u00F6\u00DFte Spannweite jedes Querschnitts je Lastfall\n"
    "                            und System, mit --ec-class (Holz) oder --ec-steel\n"
    "                            (Stahl); dazu --service-class, --imposed-category,\n"
    "                            --series, --json, --pdf, --locale, --data-dir\n"
    "  --sections BxH,...        Holzquerschnitte b x h in cm, z. B. 6x16,8x20\n"
    "                            (Vorgabe: 20 Querschnitte von 6/12 bis 12/24)\n"
    "  --profiles NAME,...       Stahlprofile, z. B. \"IPE 200,IPE 240\"\n"
    "                            (Vorgabe: alle Profile der Reihe --series)\n"
    "  --loads G/Q,...           Lastf\u00E4lle: st\u00E4ndige Last g und Nutzlast q in kN/m\n"
    "                            auf jedem Feld, z. B. 0.5/2.0,1.0/2.8\n"
    "  --spacing E               Abstand e in m: --loads sind Fl\u00E4chenlasten in kN/m\u00B2\n"
    "  --systems 1,2,3           Ein-, Zwei- und Dreifeldtr\u00E4ger mit gleichen Feldern\n"
    "                            (Vorgabe alle drei)\n"
    "  --csv DATEI.csv           schreibt die Bemessungstabelle als CSV-Datei\n"
    "  -h, --help                diese Hilfe\n"
    "  -v, --version             Programmversion\n"
    "\n"
    "Ohne --json stehen die Ergebniszeilen und die Bemessung auf der\n"
    "Standardausgabe, Warnungen und Fehler auf der Standardfehlerausgabe.\n"
    "Die Datei - ist die Standardeingabe. -pdf ist dasselbe wie --pdf.\n"
    "Eine Option mit Wert gilt einmal und nicht leer. Keine Ausgabe ersetzt eine\n"
    "Datei, die der Lauf liest (Projektdateien, Standardeingabe, Datendateien),\n"
    "auch nicht \u00FCber eine Verkn\u00FCpfung, und keine zwei Ausgaben teilen\n"
    "sich eine Stelle.\n"
    "\n"
    "Umh\u00FCllende: Eigenlast g und alle Einzellasten wirken immer; jede\n"
    "ver\u00E4nderliche Last q, s und w jedes der f\u00FCnf Bereiche (Feld 1 bis 3,\n"
    "Kragarm links und rechts) wirkt oder nicht, unabh\u00E4ngig von allen anderen:\n"
    "15 Schalter, 32768 Lastbilder, alle charakteristisch (Faktor 1). Die\n"
    "Grenzwerte entstehen genau durch \u00DCberlagerung: die st\u00E4ndigen Lasten und\n"
    "jede ver\u00E4nderliche Last allein werden wie die eigene Berechnung gerechnet.\n"
    "Die Umh\u00FCllende steht im JSON unter\n"
    "\"envelope\", mit --envelope auch in der Textausgabe; ein Auflager, dessen\n"
    "kleinste Auflagerkraft negativ ist, wird immer als Warnung genannt.\n"
    "\n"
    "Eurocode: Klasse, Sorte, Profil, Kategorie und H\u00F6henlage werden ohne\n"
    "R\u00FCcksicht auf Gro\u00DF- und Kleinschreibung, Leerzeichen und Bindestriche\n"
    "gelesen (c24, ipe200, HIGH). Ein nicht erf\u00FCllter Nachweis hei\u00DFt\n"
    "\u201Enicht erf\u00FCllt\u201C; mit --pdf entsteht der Bericht des Nachweises.\n"
    "\n"
    "R\u00FCckgabewert: 0 berechnet, 1 Eingabe abgelehnt oder keine Bemessung m\u00F6glich,\n"
    "mit --eurocode auch ein Nachweis nicht erf\u00FCllt oder nicht m\u00F6glich,\n"
    "2 falscher Aufruf, Datei nicht lesbar, zu kurz oder fehlerhaft, Bericht, Bild,\n"
    "Projektdatei oder Standardausgabe nicht schreibbar.\n"
    "Bei mehreren Dateien werden alle berechnet; es gilt der h\u00F6chste Wert.\n"
    "Mit --span-table: 0 jeder Eintrag gefunden, 1 ein Eintrag nicht gefunden (keine\n"
    "Spannweite ab 0,01 m oder noch 100 m erf\u00FCllt) oder eine Datendatei fehlerhaft,\n"
    "2 falscher Aufruf oder eine Ausgabe nicht schreibbar.\n";

// The errno of the first failed write to standard output; 0 while all went.
int standardOutputError = 0;

void writeOut(const QByteArray &bytes)
{
    if (standardOutputError == 0 && std::fwrite(bytes.constData(), 1, bytes.size(), stdout) != size_t(bytes.size()))
        standardOutputError = errno != 0 ? errno : EIO;
}

void writeOut(const QString &text)
{
    writeOut(text.toUtf8());
}

void writeErr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
}

int usageError(const QString &message)
{
    writeErr(QStringLiteral("varno-calc: %1\nWeitere Hinweise: varno-calc --help\n").arg(message));
    return UsageOrFileError;
}

QString quoted(const QString &text)
{
    return QStringLiteral("\u201E%1\u201C").arg(ShownName(text));
}

// QCommandLineParser words its errors in English; they are said again in
// German.
QString parseError(const QCommandLineParser &parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        QStringList named;
        for (const QString &name : unknown)
            named << quoted(QStringLiteral("--") + name);
        return (unknown.size() == 1 ? QStringLiteral("unbekannte Option %1") : QStringLiteral("unbekannte Optionen %1"))
            .arg(named.join(QStringLiteral(", ")));
    }
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
    static const QRegularExpression unexpected(QStringLiteral("^Unexpected value after '(.*)'\\.$"));
    const QString error = parser.errorText();
    if (const QRegularExpressionMatch match = missing.match(error); match.hasMatch())
        return QStringLiteral("nach %1 fehlt der Wert").arg(quoted(match.captured(1)));
    if (const QRegularExpressionMatch match = unexpected.match(error); match.hasMatch())
        return QStringLiteral("%1 erwartet keinen Wert").arg(quoted(match.captured(1)));
    return QStringLiteral("falscher Aufruf");
}

// A width or a deflection limit: a plain positive decimal number such as
// 8.5 or 300, so that what is printed is the number computed with.
bool isPositiveNumber(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!plain.match(text).hasMatch())
        return false;
    const double value = LeadingNumber(text);
    return std::isfinite(value) && value > 0;
}

// "C" and "POSIX" name the C locale; any other name must name a locale
// that Qt knows, or it would fall back to C without a word.
std::optional<QLocale> localeNamed(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0
        || trimmed.compare(QLatin1String("POSIX"), Qt::CaseInsensitive) == 0)
        return QLocale::c();
    const QLocale locale(trimmed);
    if (trimmed.isEmpty() || locale.language() == QLocale::C)
        return std::nullopt;
    return locale;
}

bool endsWithPdf(const QString &path)
{
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

// Every option with a value takes it once, and not empty: a second --pdf
// would otherwise silently win over the first.
std::optional<QString> valueProblem(const QCommandLineParser &parser, const QList<QCommandLineOption> &options)
{
    for (const QCommandLineOption &option : options) {
        if (option.valueName().isEmpty())
            continue;
        const QString name = QStringLiteral("--") + option.names().constFirst();
        const QStringList values = parser.values(option);
        if (values.size() > 1) {
            QStringList named;
            for (const QString &value : values)
                named << quoted(value);
            return QStringLiteral("%1 darf nur einmal angegeben werden (hier %2)")
                .arg(name, named.join(QStringLiteral(" und ")));
        }
        if (values.size() == 1 && values.constFirst().trimmed().isEmpty())
            return QStringLiteral("%1 erwartet einen Wert, nicht den leeren Text %2")
                .arg(name, quoted(values.constFirst()));
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    // The arguments with every byte of their names (see nativefiles.h); the
    // application gets none of them, so that Qt takes no option of its own
    // from the command line.
    const QStringList arguments = QStringList{QStringLiteral("varno-calc")} + DecodedArguments(argc, argv);
    // A reader that goes away (varno-calc ... | head) makes a write fail
    // with EPIPE, which is named like any failed output, instead of ending
    // the program unannounced.
    std::signal(SIGPIPE, SIG_IGN);

    QCommandLineParser parser;
    // "-pdf" is "--pdf".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption json(QStringLiteral("json"), QString());
    const QCommandLineOption envelope(QStringLiteral("envelope"), QString());
    auto valued = [](const char *name) {
        return QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    };
    const QCommandLineOption width = valued("width"), spanLimit = valued("span-limit"),
                             cantileverLimit = valued("cantilever-limit"), series = valued("series"),
                             timberGrade = valued("timber-grade"), steelGrade = valued("steel-grade"),
                             locale = valued("locale"), dataDir = valued("data-dir"), pdf = valued("pdf"),
                             firma = valued("firma"), projekt = valued("projekt"), position = valued("position"),
                             beschreibung = valued("beschreibung"), bearbeiter = valued("bearbeiter"),
                             system = valued("system"), svg = valued("svg"), png = valued("png"),
                             size = valued("size"), saveProject = valued("save-project");
    const QCommandLineOption pictures(QStringLiteral("pictures"), QString());
    QList<QCommandLineOption> allOptions{help, version, json, envelope, width, spanLimit, cantileverLimit, series,
                                         timberGrade, steelGrade, locale, dataDir, pdf, firma, projekt, position,
                                         beschreibung, bearbeiter, system, pictures, svg, png, size, saveProject};
    allOptions += EurocodeOptions();
    allOptions += SpanTableOptions();
    parser.addOptions(allOptions);
    const bool parsed = parser.parse(arguments);

    // varno-calc never shows a window: whatever platform the environment
    // names, it draws offscreen. Only the report and the pictures need fonts,
    // and with them a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QTemporaryDir> runtimeDirectory;
    std::unique_ptr<QCoreApplication> app;
    int appArgc = 1;
    char *appArgv[] = {argv[0], nullptr};
    if (parsed && (parser.isSet(pdf) || parser.isSet(svg) || parser.isSet(png))) {
        runtimeDirectory = ProvideRuntimeDirectory();
        app = std::make_unique<QGuiApplication>(appArgc, appArgv);
    } else {
        app = std::make_unique<QCoreApplication>(appArgc, appArgv);
    }
    // The application takes the user's locale for the C library too; the
    // input texts always use "." as decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("varno-calc"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(VersionText));

    if (!parsed)
        return usageError(parseError(parser));
    if (parser.isSet(help)) {
        writeOut(QString::fromUtf8(HelpText));
        std::fflush(stdout);
        return standardOutputError == 0 && !std::ferror(stdout) ? Computed : UsageOrFileError;
    }
    if (parser.isSet(version)) {
        writeOut(QStringLiteral("varno-calc %1\n").arg(QString::fromLatin1(VersionText)));
        std::fflush(stdout);
        return standardOutputError == 0 && !std::ferror(stdout) ? Computed : UsageOrFileError;
    }

    if (const std::optional<QString> problem = valueProblem(parser, allOptions))
        return usageError(*problem);

    CalcOptions options;
    for (const auto &[option, target] : {std::pair{&width, &options.widthText},
                                         std::pair{&spanLimit, &options.spanLimitText},
                                         std::pair{&cantileverLimit, &options.cantileverLimitText}}) {
        if (!parser.isSet(*option))
            continue;
        const QString text = parser.value(*option).trimmed();
        if (!isPositiveNumber(text))
            return usageError(QStringLiteral("--%1 erwartet eine positive Zahl wie %2, nicht %3")
                                  .arg(option->names().constFirst(), *target, quoted(parser.value(*option))));
        *target = text;
    }
    if (parser.isSet(series)) {
        const std::optional<int> position = SeriesByName(parser.value(series));
        if (!position)
            return usageError(QStringLiteral("unbekannte Profilreihe \u201E%1\u201C (IPE, HE-A oder HE-B)")
                                  .arg(ShownName(parser.value(series))));
        options.series = *position;
    }
    for (const auto &[option, target] : {std::pair{&timberGrade, &options.timberGrade},
                                         std::pair{&steelGrade, &options.steelGrade}}) {
        if (!parser.isSet(*option))
            continue;
        bool ok = false;
        const int value = parser.value(*option).trimmed().toInt(&ok);
        if (!ok)
            return usageError(QStringLiteral("--%1 erwartet eine ganze Zahl, nicht \u201E%2\u201C")
                                  .arg(option->names().constFirst(), ShownName(parser.value(*option))));
        *target = value;
    }
    if (parser.isSet(locale)) {
        const std::optional<QLocale> named = localeNamed(parser.value(locale));
        if (!named)
            return usageError(QStringLiteral("unbekanntes Zahlenformat %1 (z. B. de_DE oder C)")
                                  .arg(quoted(parser.value(locale))));
        options.locale = *named;
    } else {
        options.locale = QLocale::system();
    }
    QLocale::setDefault(options.locale);
    // In a Varno project file, these stand in place of the file's settings.
    const QStringList named = parser.optionNames();
    options.given = QSet<QString>(named.begin(), named.end());
    options.dataDirectory = parser.isSet(dataDir) ? parser.value(dataDir) : DefaultDataDirectory();
    // The design opens the data files through Qt, which cannot name bytes
    // that are not UTF-8; such a folder is opened here and named by its
    // descriptor.
    if (NativeName(options.dataDirectory) != options.dataDirectory.toUtf8()) {
        const int folder = ::open(NativeName(options.dataDirectory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0)
            options.dataDirectory = QStringLiteral("/proc/self/fd/%1").arg(folder);
    }

    // --span-table: a table of the largest spans instead of project files.
    if (const std::optional<QString> error = SpanTableOptionWithout(parser))
        return usageError(*error);
    if (parser.isSet(QStringLiteral("span-table")))
        return RunSpanTableCommand(parser, options);

    // The Eurocode check: its options, its data files, the names it is given.
    EurocodeSettings eurocode;
    if (const std::optional<QString> error = ReadEurocodeOptions(parser, eurocode))
        return usageError(*error);
    ec::Data eurocodeData;
    std::vector<ec::DataProblem> eurocodeDataProblems;
    if (eurocode.enabled) {
        if (const std::optional<QString> error = CheckEurocodeWidth(options.widthText))
            return usageError(*error);
        eurocodeData = ec::ReadData(options.dataDirectory, eurocodeDataProblems);
        if (eurocodeDataProblems.empty())
            if (const std::optional<QString> error = CheckEurocodeNames(eurocode, eurocodeData))
                return usageError(*error);
    }

    PictureOptions pictureOptions;
    pictureOptions.svgFolder = parser.value(svg);
    pictureOptions.pngFolder = parser.value(png);
    if (parser.isSet(size)) {
        const std::optional<QSize> parsed = ParsePictureSize(parser.value(size));
        if (!parsed)
            return usageError(QStringLiteral("--size erwartet zwei positive ganze Zahlen bis %1 wie 1000x300, "
                                             "nicht \u201E%2\u201C")
                                  .arg(MaximumPictureSide)
                                  .arg(ShownName(parser.value(size))));
        pictureOptions.size = *parsed;
    }
    if (parser.isSet(pictures) && !parser.isSet(pdf))
        return usageError(QStringLiteral("--pictures gilt nur mit --pdf"));

    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usageError(QStringLiteral("keine Projektdatei angegeben"));

    // Nothing is written over a file the run reads: the project files,
    // standard input, the two data files and the Eurocode tables.
    RunFiles runFiles;
    for (const QString &file : files)
        runFiles.addInput(file);
    runFiles.addInput(MaterialTablePath(options.dataDirectory));
    runFiles.addInput(ProfileTablePath(options.dataDirectory));
    for (const char *table : ec::DataFileNames)
        runFiles.addInput(options.dataDirectory + u'/' + QLatin1String(table));
    if (const std::optional<QString> refused = runFiles.checkStandardOutput())
        return usageError(*refused);

    // The report: a new or existing .pdf file that is no input, a device or
    // FIFO that it is written into, or standard output ("-", or the file
    // standard output goes to), which then carries the report alone.
    const QString pdfPath = parser.value(pdf);
    bool pdfToStandardOutput = false;
    if (parser.isSet(pdf)) {
        const auto target = IdentityOf(pdfPath);
        const auto standardOutput = IdentityOfDescriptor(STDOUT_FILENO);
        struct stat info;
        const bool exists = ::stat(NativeName(pdfPath).constData(), &info) == 0;
        if (pdfPath == QLatin1String("-") || (target && standardOutput && *target == *standardOutput)) {
            pdfToStandardOutput = true;
        } else if (const std::optional<QString> refused =
                       runFiles.claimOutput(QStringLiteral("--pdf"), pdfPath, OutputKind::File)) {
            return usageError(*refused);
        } else if (exists && S_ISDIR(info.st_mode)) {
            return usageError(QStringLiteral("--pdf %1 ist ein Ordner").arg(quoted(pdfPath)));
        } else if (exists && !S_ISREG(info.st_mode) && !S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode)) {
            return usageError(QStringLiteral("--pdf %1 ist keine gew\u00F6hnliche Datei").arg(quoted(pdfPath)));
        } else if ((!exists || S_ISREG(info.st_mode)) && !endsWithPdf(pdfPath)) {
            return usageError(QStringLiteral("--pdf erwartet eine Datei, deren Name auf .pdf endet, nicht %1")
                                  .arg(quoted(pdfPath)));
        }
        if (pdfToStandardOutput && parser.isSet(json))
            return usageError(QStringLiteral("--json und der Bericht auf der Standardausgabe (--pdf %1) "
                                             "schlie\u00DFen sich aus")
                                  .arg(quoted(pdfPath)));
    }

    // The pictures, after the report: a clash names the report first.
    PictureWriter pictureWriter(pictureOptions, runFiles);
    if (const std::optional<QString> refused = pictureWriter.claim(files, runFiles))
        return usageError(*refused);

    ReportHeading heading;
    if (parser.isSet(firma))
        heading.firma = parser.value(firma);
    if (parser.isSet(projekt))
        heading.projekt = parser.value(projekt);
    if (parser.isSet(position))
        heading.position = parser.value(position);
    if (parser.isSet(beschreibung))
        heading.beschreibung = parser.value(beschreibung);
    if (parser.isSet(bearbeiter))
        heading.bearbeiter = parser.value(bearbeiter);
    if (parser.isSet(system))
        heading.systemTypeName = parser.value(system);
    // --save-project: claimed like every output before anything is computed.
    ProjectSaver projectSaver;
    if (parser.isSet(saveProject))
        if (const std::optional<QString> error = projectSaver.prepare(parser.value(saveProject), files, runFiles))
            return usageError(*error);

    // With a report the printed results wait for it, so that each file's
    // status tells whether the report could be written.
    const bool waitForReport = parser.isSet(pdf);
    auto print = [&](const FileResult &result, const std::optional<EurocodeRun> &eurocodeRun) {
        if (pdfToStandardOutput)
            return;
        if (parser.isSet(json)) {
            writeOut((eurocodeRun ? WithEurocodeJson(JsonObject(result), EurocodeJson(*eurocodeRun)) : JsonObject(result))
                     + '\n');
        } else if (result.analysed) {
            if (files.size() > 1)
                writeOut(QStringLiteral("== %1 ==\n").arg(result.file));
            writeOut(OutputLines(result).join(u'\n') + u'\n');
            if (parser.isSet(envelope) && result.envelope)
                writeOut(u'\n' + EnvelopeLines(*result.envelope, options.locale).join(u'\n') + u'\n');
            if (eurocodeRun)
                writeOut(u'\n' + EcTextLines(eurocodeRun->presentation).join(u'\n') + u'\n');
            if (files.size() > 1)
                writeOut(QStringLiteral("\n"));
        }
    };

    int status = Computed;
    std::vector<ReportTexts> reports;
    std::vector<EcReportInput> eurocodeReports;   // --eurocode --pdf: the check's report instead
    std::vector<std::pair<FileResult, std::optional<EurocodeRun>>> waiting;
    for (const QString &file : files) {
        FileResult result = CalculateFile(file, options);
        QStringList warnings = result.warnings;
        if (result.envelope)
            warnings << UpliftWarnings(*result.envelope, options.locale);
        for (const QString &warning : std::as_const(warnings))
            writeErr(QStringLiteral("%1: Warnung: %2\n").arg(result.file, warning));
        // A file that cannot be read is named by its message already.
        for (const QString &error : std::as_const(result.errors))
            writeErr(result.status == UsageOrFileError ? QStringLiteral("varno-calc: %1\n").arg(error)
                                                       : QStringLiteral("%1: %2\n").arg(result.file, error));
        // The check runs once; its text, JSON and report render the one
        // presentation of that run. A check not met is the file's error.
        std::optional<EurocodeRun> eurocodeRun;
        if (eurocode.enabled && result.analysed) {
            eurocodeRun = RunEurocode(result, options, eurocode, eurocodeData, eurocodeDataProblems,
                                      parser.isSet(pdf), parser.isSet(json) ? QLocale::c() : options.locale);
            for (const QString &error : std::as_const(eurocodeRun->errors))
                writeErr(QStringLiteral("%1: %2\n").arg(result.file, error));
            result.errors << eurocodeRun->errors;
            result.status = std::max(result.status, eurocodeRun->status);
        }
        // The pictures come before the printed results: their failure is the
        // file's too.
        const PictureOutcome drawn = pictureWriter.write(result, options.locale);
        for (const QString &error : drawn.errors)
            writeErr(QStringLiteral("%1: %2\n").arg(result.file, error));
        if (result.analysed) {
            result.errors << drawn.errors;
            result.status = std::max(result.status, drawn.status);
        }
        // --pictures: a page with the three pictures after the file's report,
        // the one-page report or that of the Eurocode check alike.
        std::vector<ReportPicture> picturePage;
        if (result.analysed && parser.isSet(pictures)) {
            QString error;
            picturePage = ReportPicturesFor(result, options.locale, &error);
            if (!error.isEmpty()) {
                writeErr(QStringLiteral("%1: %2\n").arg(result.file, error));
                result.errors << error;
                result.status = std::max<int>(result.status, Refused);
            }
        }
        // The heading of a Varno project file is its own where no option names it.
        const ReportHeading fileHeading = HeadingFor(result, heading, options.given);
        if (projectSaver.active()) {
            if (const std::optional<QString> error =
                    projectSaver.write(result, fileHeading, eurocode, options.given, eurocodeData, runFiles)) {
                writeErr(QStringLiteral("%1: %2\n").arg(result.file, *error));
                result.errors << *error;
                // A file that was not read has said why already.
                if (result.read)
                    result.status = std::max<int>(result.status, UsageOrFileError);
            }
        }
        if (result.analysed && parser.isSet(pdf)) {
            reports.push_back(ReportFor(result, fileHeading, options.locale));
            reports.back().pictures = picturePage;
        }
        if (result.analysed && parser.isSet(pdf) && eurocodeRun && eurocodeRun->presentation.problems.isEmpty()) {
            eurocodeReports.push_back(EurocodeReportFor(result, *eurocodeRun, fileHeading));
            eurocodeReports.back().pictures = std::move(picturePage);
        }
        status = std::max(status, std::max(result.status, drawn.status));
        if (waitForReport)
            waiting.emplace_back(std::move(result), std::move(eurocodeRun));
        else
            print(result, eurocodeRun);
    }

    if (parser.isSet(pdf)) {
        QString reason;
        if (eurocode.enabled ? eurocodeReports.empty() : reports.empty()) {
            writeErr(QStringLiteral("varno-calc: kein Bericht geschrieben, keine Datei wurde berechnet\n"));
        } else {
            // With --eurocode the report is the check's, on several pages.
            const QByteArray bytes =
                eurocode.enabled ? EcReportPdfBytes(eurocodeReports, &reason) : ReportPdfBytes(reports, &reason);
            bool written = !bytes.isEmpty();
            if (written && pdfToStandardOutput) {
                std::fflush(stdout);
                written = WriteAll(STDOUT_FILENO, bytes);
                if (!written)
                    reason = SystemErrorText(errno);
            } else if (written) {
                written = runFiles.write(pdfPath, bytes, &reason);
            }
            if (!written) {
                const QString error = QStringLiteral("Der Bericht kann nicht als %1 gespeichert werden (%2).")
                                          .arg(quoted(pdfPath), reason);
                writeErr(QStringLiteral("varno-calc: %1\n").arg(error));
                status = std::max<int>(status, UsageOrFileError);
                for (auto &[result, eurocodeRun] : waiting)
                    if (result.analysed) {
                        result.errors << error;
                        result.status = UsageOrFileError;
                    }
            }
        }
    }
    for (const auto &[result, eurocodeRun] : waiting)
        print(result, eurocodeRun);

    if (std::fflush(stdout) != 0 && standardOutputError == 0)
        standardOutputError = errno != 0 ? errno : EIO;
    if (standardOutputError == 0 && std::ferror(stdout))
        standardOutputError = EIO;
    if (standardOutputError != 0) {
        writeErr(QStringLiteral("varno-calc: Die Standardausgabe kann nicht geschrieben werden (%1).\n")
                     .arg(SystemErrorText(standardOutputError)));
        status = UsageOrFileError;
    }
    return status;
}
