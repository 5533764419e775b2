// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "widgets/messages.h"
#include "model/projectmodel.h"
#include "results/resultswindow.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/projectinfodialog.h"
#include "io/report.h"
#include "app/filedialogs.h"
#include "app/printcommand.h"
#include "tests/testsupport.h"

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace varno;
using varno::test::FileDialogRecorder;
using varno::test::MessageRecorder;

namespace {

// Stands in for the system's printers: none, or one that writes a PDF file.
struct PrinterStandIn
{
    QString pdfPath;   // empty: no printer
    int asked = 0;

    void install(PrintCommand &command)
    {
        command.setPrinterSource([this]() -> std::unique_ptr<QPrinter> {
            ++asked;
            if (pdfPath.isEmpty())
                return nullptr;
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdfPath);
            return printer;
        });
    }
};

PrintCommand *printCommand(const MainWindow &window)
{
    return window.findChild<PrintCommand *>();
}

void triggerPrint(const MainWindow &window)
{
    window.findChild<QAction *>(QStringLiteral("mnudrucken"))->trigger();
}

QString collapsed(QString text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    return text.replace(blanks, QStringLiteral(" ")).trimmed();
}

// The text of a PDF, one string per line with runs of blanks collapsed.
QStringList pdfLines(const QString &path)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
                  {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                   QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QStringList lines;
    for (const QString &line : QString::fromUtf8(process.readAllStandardOutput()).split(u'\n'))
        lines << collapsed(line);
    return lines;
}

bool anyLineContains(const QStringList &lines, const QString &text)
{
    const QString wanted = collapsed(text);
    return std::any_of(lines.begin(), lines.end(), [&](const QString &line) { return line.contains(wanted); });
}

const QString Question = QStringLiteral("Drucker vorbereiten?");
const QString PdfOffer =
    QStringLiteral("Es ist kein Drucker eingerichtet. Soll der Bericht als PDF-Datei gespeichert werden?");

} // namespace

class TestUiPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void cancelDoesNothing_data();
    void cancelDoesNothing();
    void reportWritten_data();
    void reportWritten();
    void noPdfWanted_data();
    void noPdfWanted();
    void pdfNotWritable();
    void refusedAnalysisPrintsNothing();

private:
    QTemporaryDir m_dir;
};

void TestUiPrint::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestUiPrint::cancelDoesNothing_data()
{
    QTest::addColumn<bool>("resultsOpen");
    QTest::addColumn<bool>("printer");

    QTest::newRow("no results yet, no printer") << false << false;
    QTest::newRow("no results yet, printer") << false << true;
    QTest::newRow("results open") << true << true;
}

void TestUiPrint::cancelDoesNothing()
{
    QFETCH(bool, resultsOpen);
    QFETCH(bool, printer);

    MessageRecorder messages;
    FileDialogRecorder dialogs;
    MainWindow window;
    PrinterStandIn printers;
    if (printer)
        printers.pdfPath = m_dir.filePath(QStringLiteral("cancelled.pdf"));
    printers.install(*printCommand(window));

    QString resultBefore;
    int designRunsBefore = 0;
    if (resultsOpen) {
        QVERIFY(window.runAnalysis());
        resultBefore = window.resultsWindow()->resultText(0);
        designRunsBefore = window.resultsWindow()->designRunCount();
        // A change that a new analysis would show.
        window.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("4.00"));
    }
    messages.shown.clear();
    messages.answers = {MsgResult::Cancel};

    triggerPrint(window);

    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Drucken"));
    QCOMPARE(messages.shown[0].text, Question);
    QCOMPARE(messages.shown[0].icon, MsgIcon::Question);
    QCOMPARE(messages.shown[0].buttons, MsgButtons::OkCancel);
    QCOMPARE(printers.asked, 0);
    QVERIFY(dialogs.asked.isEmpty());
    QVERIFY(!QFileInfo::exists(printers.pdfPath));
    if (resultsOpen) {
        QCOMPARE(window.resultsWindow()->resultText(0), resultBefore);
        QCOMPARE(window.resultsWindow()->designRunCount(), designRunsBefore);
    } else {
        QVERIFY(!window.resultsWindow());
    }
}

void TestUiPrint::reportWritten_data()
{
    QTest::addColumn<bool>("printer");

    QTest::newRow("on the default printer") << true;
    QTest::newRow("no printer, saved as PDF") << false;
}

void TestUiPrint::reportWritten()
{
    QFETCH(bool, printer);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");

    const QString path = m_dir.filePath(printer ? QStringLiteral("printer.pdf") : QStringLiteral("bericht.pdf"));
    MessageRecorder messages;
    FileDialogRecorder dialogs;
    dialogs.answers << path;
    MainWindow window;
    PrinterStandIn printers;
    if (printer)
        printers.pdfPath = path;
    printers.install(*printCommand(window));

    ProjectInfoDialog *info = window.projectInfoDialog();
    info->setInfoText(0, QStringLiteral("Ingenieurbüro Quast"));
    info->setInfoText(2, QStringLiteral("Unterzug Achse 3"));
    window.chooseThreeSpan();
    window.dimensionsDialog()->setLengthText(LengthRight, QStringLiteral("1.5"));
    messages.shown.clear();

    triggerPrint(window);

    // The analysis ran for the report and filled the results window, which
    // the print command does not show.
    const ResultsWindow *results = window.resultsWindow();
    QVERIFY(results);
    QVERIFY(!results->isVisible());
    QCOMPARE(messages.shown.size(), printer ? 1 : 2);
    QCOMPARE(messages.shown[0].text, Question);
    QCOMPARE(printers.asked, 1);
    if (!printer) {
        QCOMPARE(messages.shown[1].title, QStringLiteral("Drucken"));
        QCOMPARE(messages.shown[1].text, PdfOffer);
        QCOMPARE(messages.shown[1].buttons, MsgButtons::OkCancel);
        QCOMPARE(dialogs.asked.size(), 1);
        QCOMPARE(dialogs.asked[0].mode, FileRequest::Mode::Save);
        QCOMPARE(dialogs.asked[0].filter, QStringLiteral("PDF-Dateien (*.pdf)"));
        QCOMPARE(dialogs.asked[0].defaultSuffix, QStringLiteral("pdf"));
    } else {
        QVERIFY(dialogs.asked.isEmpty());
    }

    const QStringList lines = pdfLines(path);
    QVERIFY2(!lines.isEmpty(), "no text in the PDF");
    QStringList expected{QStringLiteral("Ingenieurbüro Quast"), QStringLiteral("Neubau EFH"),
                         QStringLiteral("Unterzug Achse 3"),    QStringLiteral("System Dreifelträger"),
                         QStringLiteral("Momente"),             QStringLiteral("Querkräfte"),
                         QStringLiteral("Auflagerkräfte"),      QStringLiteral("Dimension"),
                         QStringLiteral("0,00 6,00 6,00 5,00 1,50")};
    for (int item = 0; item < ReportResultCount; ++item)
        expected << results->resultText(item);
    for (int item : {0, 1, 4, 9, 5, 6, 8, 10})
        expected << results->designText(item);
    expected << QStringLiteral("b = ") + results->widthText() + QStringLiteral(" cm");
    int checked = 0;
    for (const QString &text : std::as_const(expected)) {
        if (collapsed(text).isEmpty())
            continue;
        ++checked;
        QVERIFY2(anyLineContains(lines, text), qPrintable(text));
    }
    // Every result line of the three-span beam with a right cantilever is
    // shown, so nearly all of them were looked for.
    QVERIFY(checked >= 30);
}

void TestUiPrint::noPdfWanted_data()
{
    QTest::addColumn<bool>("offerAccepted");

    QTest::newRow("PDF declined") << false;
    QTest::newRow("save dialog cancelled") << true;
}

void TestUiPrint::noPdfWanted()
{
    QFETCH(bool, offerAccepted);

    MessageRecorder messages;
    messages.answers = {MsgResult::Ok, offerAccepted ? MsgResult::Ok : MsgResult::Cancel};
    FileDialogRecorder dialogs;   // cancels
    MainWindow window;
    PrinterStandIn printers;
    printers.install(*printCommand(window));
    messages.shown.clear();

    triggerPrint(window);

    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(messages.shown[1].text, PdfOffer);
    QCOMPARE(dialogs.asked.size(), offerAccepted ? 1 : 0);
    QVERIFY(window.resultsWindow());
}

void TestUiPrint::pdfNotWritable()
{
    MessageRecorder messages;
    FileDialogRecorder dialogs;
    const QString path = m_dir.filePath(QStringLiteral("fehlt/bericht.pdf"));
    dialogs.answers << path;
    MainWindow window;
    PrinterStandIn printers;
    printers.install(*printCommand(window));
    messages.shown.clear();

    triggerPrint(window);

    QCOMPARE(messages.shown.size(), 3);
    QCOMPARE(messages.shown[2].title, QStringLiteral("Drucken"));
    QCOMPARE(messages.shown[2].icon, MsgIcon::Warning);
    QVERIFY2(messages.shown[2].text.contains(QDir::toNativeSeparators(path)), qPrintable(messages.shown[2].text));
    QVERIFY(!QFileInfo::exists(path));
}

void TestUiPrint::refusedAnalysisPrintsNothing()
{
    MessageRecorder messages;
    FileDialogRecorder dialogs;
    MainWindow window;
    PrinterStandIn printers;
    printers.pdfPath = m_dir.filePath(QStringLiteral("refused.pdf"));
    printers.install(*printCommand(window));
    window.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("0"));
    messages.shown.clear();

    triggerPrint(window);

    // The question, then the analysis' refusal; nothing after it.
    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(messages.shown[0].text, Question);
    QCOMPARE(messages.shown[1].title, QStringLiteral("Warnung"));
    QCOMPARE(printers.asked, 0);
    QVERIFY(dialogs.asked.isEmpty());
    QVERIFY(!QFileInfo::exists(printers.pdfPath));
    QVERIFY(!window.resultsWindow());
}

QTEST_MAIN(TestUiPrint)
#include "tst_ui_print.moc"
