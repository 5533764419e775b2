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
#include "cli/pictures.h"
#include "cli/runtimedirectory.h"
#include "design/design.h"
#include "design/series.h"
#include "io/report.h"
#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

#include <clocale>
#include <cstdio>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

using namespace varno;
using namespace varno::cli;

namespace {

const char *const HelpText =
    "Aufruf: varno-calc [Optionen] DATEI.lof...\n"
    "\n"
    "Berechnet Durchlauftr\u00E4ger aus Projektdateien: Schnittgr\u00F6\u00DFen, Auflagerkr\u00E4fte\n"
    "und die Bemessung in Holz und Stahl. Jede Datei wird so berechnet, wie das\n"
    "Programm sie nach dem Start und \u00D6ffnen der Datei berechnet.\n"
    "\n"
    "Optionen:\n"
    "  --json                    je Datei ein JSON-Objekt in einer Zeile\n"
    "  --width CM                Holzbreite b in cm (Vorgabe 8.0)\n"
    "  --span-limit N            Durchbiegung FeldL / N (Vorgabe 300)\n"
    "  --cantilever-limit N      Durchbiegung KragL / N (Vorgabe 150)\n"
    "  --series IPE|HE-A|HE-B    Profilreihe (Vorgabe HE-A)\n"
    "  --timber-grade I          Holzsorte, Listenposition 0 bis 13 (Vorgabe: aus der Datei)\n"
    "  --steel-grade I           Stahlsorte, Listenposition 0 bis 2 (Vorgabe: aus der Datei)\n"
    "  --locale NAME             Zahlenformat der Ausgabe, z. B. de_DE oder C\n"
    "                            (Vorgabe: das des Benutzers)\n"
    "  --data-dir DIR            Ordner mit wert2.txt und wert3.txt\n"
    "                            (Vorgabe: der Ordner des Programms)\n"
    "  --pdf DATEI.pdf           schreibt den Bericht (je Datei eine Seite)\n"
    "  --firma TEXT              Firma im Bericht\n"
    "  --projekt TEXT            Projekt im Bericht\n"
    "  --position TEXT           Position im Bericht\n"
    "  --system TEXT             Systembezeichnung im Bericht (Vorgabe leer)\n"
    "  --pictures                f\u00FCgt dem Bericht eine Seite mit den drei Bildern an\n"
    "  --svg DIR                 schreibt je Datei NAME-system.svg, NAME-moment.svg\n"
    "                            und NAME-shear.svg in den Ordner DIR\n"
    "  --png DIR                 ebenso als PNG-Bilder\n"
    "  --size BxH                Bildgr\u00F6\u00DFe f\u00FCr --svg und --png\n"
    "                            (Vorgabe 1000x300; PNG mit doppelter Pixelzahl)\n"
    "  --envelope                gibt auch die Umh\u00FCllende der feldweise\n"
    "                            ver\u00E4nderlichen Lasten aus\n"
    "  --eurocode                Nachweise nach Eurocode (EN 1990, EN 1995-1-1,\n"
    "                            EN 1993-1-1) zus\u00E4tzlich zur Bemessung\n"
    "  --ec-class NAME           Festigkeitsklasse, z. B. C24 oder GL28h\n"
    "                            (Vorgabe: aus der Holzsorte abgeleitet)\n"
    "  --service-class 1|2|3     Nutzungsklasse (Vorgabe 1)\n"
    "  --ec-height CM            diese H\u00F6he h nachweisen (Vorgabe: bemessen)\n"
    "  --ec-steel S235|S275|S355 Stahlsorte (Vorgabe: aus der Stahlsorte)\n"
    "  --ec-profile NAME         dieses Profil nachweisen, z. B. \"IPE 200\"\n"
    "                            (Vorgabe: leichtestes ausreichendes der Reihe)\n"
    "  --imposed-category A..H   Kategorie der Nutzlast q (Vorgabe A)\n"
    "  --snow-altitude low|high  Schnee bis oder \u00FCber 1000 m \u00FC. NN (Vorgabe low)\n"
    "  --point-loads g|q|s|w     Einwirkung der Einzellasten (Vorgabe g)\n"
    "  -h, --help                diese Hilfe\n"
    "  -v, --version             Programmversion\n"
    "\n"
    "Ohne --json stehen die Ergebniszeilen und die Bemessung auf der\n"
    "Standardausgabe, Warnungen und Fehler auf der Standardfehlerausgabe.\n"
    "\n"
    "Umh\u00FCllende: Eigenlast g und alle Einzellasten wirken immer; die\n"
    "ver\u00E4nderlichen Lasten q + s + w jedes der f\u00FCnf Bereiche (Feld 1 bis 3,\n"
    "Kragarm links und rechts) wirken oder nicht, unabh\u00E4ngig von den anderen:\n"
    "32 Lastbilder, alle charakteristisch (Faktor 1). Jedes Lastbild wird wie\n"
    "die eigene Berechnung gerechnet. Die Umh\u00FCllende steht im JSON unter\n"
    "\"envelope\", mit --envelope auch in der Textausgabe; ein Auflager, dessen\n"
    "kleinste Auflagerkraft negativ ist, wird immer als Warnung genannt.\n"
    "\n"
    "R\u00FCckgabewert: 0 berechnet, 1 Eingabe abgelehnt oder keine Bemessung m\u00F6glich,\n"
    "2 falscher Aufruf, Datei nicht lesbar oder zu kurz, Bericht oder Bild nicht\n"
    "schreibbar.\n"
    "Bei mehreren Dateien werden alle berechnet; es gilt der h\u00F6chste Wert.\n";

void writeOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
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

// The report and the pictures need fonts, and with them a GUI application.
bool wantsFonts(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--")
            break;
        for (const char *option : {"--pdf", "--svg", "--png"})
            if (arg == option || arg.startsWith(QByteArray(option) + '='))
                return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Only the report and the pictures need fonts, and with them a GUI
    // application; it runs without a display.
    std::unique_ptr<QTemporaryDir> runtimeDirectory;
    std::unique_ptr<QCoreApplication> app;
    if (wantsFonts(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        runtimeDirectory = ProvideRuntimeDirectory();
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The application takes the user's locale for the C library too; the
    // input texts always use "." as decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("varno-calc"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(VersionText));

    QCommandLineParser parser;
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
                             system = valued("system"), svg = valued("svg"), png = valued("png"),
                             size = valued("size");
    const QCommandLineOption pictures(QStringLiteral("pictures"), QString());
    parser.addOptions({help, version, json, envelope, width, spanLimit, cantileverLimit, series, timberGrade,
                       steelGrade, locale, dataDir, pdf, firma, projekt, position, system, pictures, svg, png, size});
    parser.addOptions(EurocodeOptions());

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        writeOut(QString::fromUtf8(HelpText));
        return Computed;
    }
    if (parser.isSet(version)) {
        writeOut(QStringLiteral("varno-calc %1\n").arg(QString::fromLatin1(VersionText)));
        return Computed;
    }

    CalcOptions options;
    if (parser.isSet(width))
        options.widthText = parser.value(width);
    if (parser.isSet(spanLimit))
        options.spanLimitText = parser.value(spanLimit);
    if (parser.isSet(cantileverLimit))
        options.cantileverLimitText = parser.value(cantileverLimit);
    if (parser.isSet(series)) {
        const std::optional<int> position = SeriesByName(parser.value(series));
        if (!position)
            return usageError(QStringLiteral("unbekannte Profilreihe \u201E%1\u201C (IPE, HE-A oder HE-B)")
                                  .arg(parser.value(series)));
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
                                  .arg(option->names().constFirst(), parser.value(*option)));
        *target = value;
    }
    options.locale = parser.isSet(locale) ? QLocale(parser.value(locale)) : QLocale::system();
    QLocale::setDefault(options.locale);
    options.dataDirectory = parser.isSet(dataDir) ? parser.value(dataDir) : DefaultDataDirectory();

    // The Eurocode check: its options, its data files, the names it is given.
    EurocodeSettings eurocode;
    if (const std::optional<QString> error = ReadEurocodeOptions(parser, eurocode))
        return usageError(*error);
    ec::Data eurocodeData;
    QStringList eurocodeDataProblems;
    if (eurocode.enabled) {
        eurocodeData = ReadEurocodeData(options.dataDirectory, eurocodeDataProblems);
        if (eurocodeDataProblems.isEmpty())
            if (const std::optional<QString> error = CheckEurocodeNames(eurocode, eurocodeData))
                return usageError(*error);
    }

    PictureOptions pictureOptions;
    pictureOptions.svgFolder = parser.value(svg);
    pictureOptions.pngFolder = parser.value(png);
    for (const auto &[option, folder] : {std::pair{&svg, &pictureOptions.svgFolder},
                                         std::pair{&png, &pictureOptions.pngFolder}})
        if (parser.isSet(*option) && folder->isEmpty())
            return usageError(QStringLiteral("--%1 erwartet einen Ordner").arg(option->names().constFirst()));
    if (parser.isSet(size)) {
        const std::optional<QSize> parsed = ParsePictureSize(parser.value(size));
        if (!parsed)
            return usageError(QStringLiteral("--size erwartet zwei positive ganze Zahlen bis %1 wie 1000x300, "
                                             "nicht \u201E%2\u201C")
                                  .arg(MaximumPictureSide)
                                  .arg(parser.value(size)));
        pictureOptions.size = *parsed;
    }
    if (parser.isSet(pictures) && !parser.isSet(pdf))
        return usageError(QStringLiteral("--pictures gilt nur mit --pdf"));
    PictureWriter pictureWriter(pictureOptions);

    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usageError(QStringLiteral("keine Projektdatei angegeben"));

    ReportHeading heading;
    if (parser.isSet(firma))
        heading.firma = parser.value(firma);
    if (parser.isSet(projekt))
        heading.projekt = parser.value(projekt);
    if (parser.isSet(position))
        heading.position = parser.value(position);
    if (parser.isSet(system))
        heading.systemTypeName = parser.value(system);

    int status = Computed;
    std::vector<ReportTexts> reports;
    std::vector<EcReportInput> eurocodeReports;   // --eurocode --pdf
    for (const QString &file : files) {
        const FileResult result = CalculateFile(file, options);
        status = std::max(status, result.status);
        QStringList warnings = result.warnings;
        if (result.envelope)
            warnings << UpliftWarnings(*result.envelope, options.locale);
        if (!result.envelopeError.isEmpty())
            warnings << result.envelopeError;
        for (const QString &warning : std::as_const(warnings))
            writeErr(QStringLiteral("%1: Warnung: %2\n").arg(file, warning));
        // A file that cannot be read is named by its message already.
        for (const QString &error : result.errors)
            writeErr(result.status == UsageOrFileError ? QStringLiteral("varno-calc: %1\n").arg(error)
                                                       : QStringLiteral("%1: %2\n").arg(file, error));
        std::optional<EurocodeRun> eurocodeRun;
        if (eurocode.enabled && result.analysed) {
            if (eurocodeDataProblems.isEmpty()) {
                eurocodeRun = RunEurocode(result, options, eurocode, eurocodeData);
            } else {
                eurocodeRun = EurocodeRun{};
                eurocodeRun->status = Refused;
                for (const QString &problem : std::as_const(eurocodeDataProblems))
                    eurocodeRun->errors << QStringLiteral("Eurocode-Nachweis ausgelassen: %1").arg(problem);
            }
            status = std::max(status, eurocodeRun->status);
            for (const QString &error : std::as_const(eurocodeRun->errors))
                writeErr(QStringLiteral("%1: %2\n").arg(file, error));
            if (parser.isSet(pdf) && eurocodeRun->done)
                eurocodeReports.push_back(
                    EurocodeReportFor(result, *eurocodeRun, eurocode, heading, eurocodeData, options.locale));
        }
        if (parser.isSet(json)) {
            writeOut((eurocodeRun ? WithEurocodeJson(JsonObject(result), EurocodeJson(*eurocodeRun)) : JsonObject(result))
                     + u'\n');
        } else if (result.analysed) {
            if (files.size() > 1)
                writeOut(QStringLiteral("== %1 ==\n").arg(file));
            writeOut(OutputLines(result).join(u'\n') + u'\n');
            if (parser.isSet(envelope) && result.envelope)
                writeOut(u'\n' + EnvelopeLines(*result.envelope, options.locale).join(u'\n') + u'\n');
            if (eurocodeRun)
                writeOut(u'\n' + EurocodeLines(*eurocodeRun, options.locale).join(u'\n') + u'\n');
            if (files.size() > 1)
                writeOut(QStringLiteral("\n"));
        }
        const PictureOutcome drawn = pictureWriter.write(result, options.locale);
        status = std::max(status, drawn.status);
        for (const QString &error : drawn.errors)
            writeErr(QStringLiteral("%1: %2\n").arg(file, error));
        if (result.analysed) {
            reports.push_back(ReportFor(result, heading, options.locale));
            if (parser.isSet(pictures)) {
                QString error;
                reports.back().pictures = ReportPicturesFor(result, options.locale, &error);
                if (!error.isEmpty()) {
                    writeErr(QStringLiteral("%1: %2\n").arg(file, error));
                    status = std::max<int>(status, Refused);
                }
            }
        }
    }
    std::fflush(stdout);

    if (parser.isSet(pdf) && eurocode.enabled) {
        // With --eurocode the report is the Eurocode check's, on several pages.
        QString error;
        if (eurocodeReports.empty()) {
            writeErr(QStringLiteral("varno-calc: kein Bericht geschrieben, keine Datei wurde nachgewiesen\n"));
        } else if (!WriteEcReportPdf(parser.value(pdf), eurocodeReports, &error)) {
            writeErr(QStringLiteral("varno-calc: %1\n").arg(error));
            status = std::max<int>(status, UsageOrFileError);
        }
    } else if (parser.isSet(pdf)) {
        QString error;
        if (reports.empty()) {
            writeErr(QStringLiteral("varno-calc: kein Bericht geschrieben, keine Datei wurde berechnet\n"));
        } else if (!WriteReportPdf(parser.value(pdf), reports, &error)) {
            writeErr(QStringLiteral("varno-calc: %1\n").arg(error));
            status = std::max<int>(status, UsageOrFileError);
        }
    }
    return status;
}
