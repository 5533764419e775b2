// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The window "Nachweis nach Eurocode", driven through accessible names: a
// hand-checked beam, updates from the input windows, unreadable texts, the
// report as a PDF, a broken data file, the menu entry and the window's size.

#include "app/mainwindow.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "dialogs/materialdialog.h"
#include "dialogs/projectinfodialog.h"
#include "eurocode/ecdata.h"
#include "io/commands/ecprintcommand.h"
#include "results/eurocodewindow.h"
#include "tests/testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace varno;
using varno::test::FileDialogRecorder;
using varno::test::MessageRecorder;

namespace {

template <typename T>
T *byName(const QWidget *window, const QString &accessibleName)
{
    for (T *w : window->findChildren<T *>())
        if (w->accessibleName() == accessibleName)
            return w;
    return nullptr;
}

void typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// The hand-checked beam: one span L1 = 4 m, g = 1 and q = 2 kN/m, timber of
// the default grade S 10 (mapped to C24) 10 × 20 cm, service class 1.
EurocodeWindow *openHandCase(MainWindow &main)
{
    main.chooseSingleSpan();
    main.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("4"));
    main.loadDialog()->setUniformText(Span1, LoadG, QStringLiteral("1"));
    main.loadDialog()->setUniformText(Span1, LoadQ, QStringLiteral("2"));
    main.findChild<QAction *>(QStringLiteral("mnueurocode"))->trigger();
    auto *window = main.eurocodeWindow();
    if (!window)
        return nullptr;
    typeInto(byName<QLineEdit>(window, QStringLiteral("Breite b in cm")), QStringLiteral("10"));
    typeInto(byName<QLineEdit>(window, QStringLiteral("Höhe h in cm, leer: bemessen")), QStringLiteral("20"));
    return window;
}

double shownUtilisation(const QWidget *window, const QString &name)
{
    const QLabel *label = byName<QLabel>(window, name + QStringLiteral(" Ausnutzung"));
    if (!label || !label->text().startsWith(QStringLiteral("\u03B7 = ")))
        return -1;
    return label->text().mid(4).toDouble();
}

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The main window's input windows, but the Eurocode data from elsewhere.
class OtherData : public InputWindows
{
public:
    OtherData(const MainWindow &main, QString directory) : m_main(main), m_directory(std::move(directory)) {}
    ProjectTexts projectTexts() const override { return m_main.projectTexts(); }
    QStringList timberValues() const override { return m_main.timberValues(); }
    QStringList steelValues() const override { return m_main.steelValues(); }
    QString dataDirectory() const override { return m_directory; }

private:
    const MainWindow &m_main;
    QString m_directory;
};

} // namespace

class TestEurocodeWindow : public QObject
{
    Q_OBJECT
private slots:
    void handCheckedCase_data();
    void handCheckedCase();
    void lengthChangeUpdates();
    void unreadableTextShowsDash_data();
    void unreadableTextShowsDash();
    void reportPdf();
    void sameNumbersAsCli();
    void brokenDataFile();
    void menuEntry();
    void everyFieldAndResultNamed();
    void gradeWithoutClass();
    void fitsScreen_data() { test::AddFontScaleRows(); }
    void fitsScreen();
};

void TestEurocodeWindow::handCheckedCase_data()
{
    // By hand: ULS 1.35·1 + 1.5·2 = 4.35 kN/m; M = 4.35·4²/8 = 8.7 kNm,
    // V = 8.7 kN. W = 100·200²/6 mm³, I = 100·200³/12 mm⁴. From the data
    // files: kmod = 0.8 (q of category A: medium term), γM = 1.3, kh = 1
    // (h ≥ 150 mm), kcr = 2.0 / fv,k, C24: fm,k = 24, fv,k = 4, E0,mean =
    // 11000 N/mm². Characteristic 3 kN/m: w = 5·3·4000⁴/(384·E·I) against
    // 4000/300.
    QTest::addColumn<QString>("check");
    QTest::addColumn<double>("expected");
    QTest::addColumn<bool>("overLimit");
    QTest::newRow("bending") << "Holz Biegung" << (8.7e6 / (100.0 * 200 * 200 / 6)) / (0.8 * 24 / 1.3) << false;
    QTest::newRow("shear") << "Holz Schub" << (1.5 * 8700 / (0.5 * 100 * 200)) / (0.8 * 4.0 / 1.3) << false;
    QTest::newRow("w_inst")
        << "Holz Durchbiegung w_inst"
        << (5 * 3.0 * std::pow(4000.0, 4) / (384 * 11000.0 * (100.0 * 200 * 200 * 200 / 12))) / (4000.0 / 300) << true;
}

void TestEurocodeWindow::handCheckedCase()
{
    QFETCH(QString, check);
    QFETCH(double, expected);
    QFETCH(bool, overLimit);
    MessageRecorder messages;
    MainWindow main;
    EurocodeWindow *window = openHandCase(main);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(shownUtilisation(window, check), std::round(expected * 100) / 100);
    QCOMPARE(byName<QWidget>(window, check + QStringLiteral(" Balken"))->property("overLimit").toBool(), overLimit);
    QVERIFY(byName<QLabel>(window, check + QStringLiteral(" maßgebend"))->text().startsWith(QStringLiteral("Feld 1")));
    QVERIFY(messages.shown.isEmpty());
}

void TestEurocodeWindow::lengthChangeUpdates()
{
    MessageRecorder messages;
    MainWindow main;
    EurocodeWindow *window = openHandCase(main);
    QVERIFY(window);
    const double before = shownUtilisation(window, QStringLiteral("Holz Biegung"));
    auto *l1 = byName<QLineEdit>(main.dimensionsDialog(), QStringLiteral("Feldlänge L1"));
    QVERIFY(l1);
    typeInto(l1, QStringLiteral("5"));
    // The window checks once the keystroke is handled.
    QCoreApplication::processEvents();
    // The moment grows with L²: 25/16 of the bending utilisation at 4 m.
    const double expected = (4.35 * 25 / 8 * 1e6 / (100.0 * 200 * 200 / 6)) / (0.8 * 24 / 1.3);
    QCOMPARE(shownUtilisation(window, QStringLiteral("Holz Biegung")), std::round(expected * 100) / 100);
    QVERIFY(before < expected);
    // And back through the load window: no load, no utilisation but zero.
    main.loadDialog()->setUniformText(Span1, LoadQ, QStringLiteral("0"));
    QCoreApplication::processEvents();
    QVERIFY(shownUtilisation(window, QStringLiteral("Holz Biegung")) < expected / 2);
}

void TestEurocodeWindow::unreadableTextShowsDash_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("width with letters") << "Breite b in cm" << "1x";
    QTest::newRow("width zero") << "Breite b in cm" << "0";
    QTest::newRow("height half typed") << "Höhe h in cm, leer: bemessen" << "-";
    QTest::newRow("limit with point and comma") << "Holz Feld w_inst l/" << "3.5,1";
    QTest::newRow("height beyond the search") << "Höhe h in cm, leer: bemessen" << "300.1";
    QTest::newRow("width below a millimetre") << "Breite b in cm" << "1e-320";
}

void TestEurocodeWindow::unreadableTextShowsDash()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    MessageRecorder messages;
    MainWindow main;
    EurocodeWindow *window = openHandCase(main);
    QVERIFY(window);
    auto *edit = byName<QLineEdit>(window, field);
    QVERIFY(edit);
    const QString before = edit->text();
    typeInto(edit, text);
    QVERIFY(edit->property("unreadable").toBool());
    for (const char *check : {"Holz Biegung", "Stahl Biegung", "Stahl Durchbiegung"})
        QCOMPARE(byName<QLabel>(window, QString::fromUtf8(check) + QStringLiteral(" Ausnutzung"))->text(),
                 QStringLiteral("\u2013"));
    QVERIFY(!window->printButton()->isEnabled());
    QVERIFY(messages.shown.isEmpty());
    typeInto(edit, before.isEmpty() ? QStringLiteral("20") : before);
    QVERIFY(!edit->property("unreadable").toBool());
    QVERIFY(shownUtilisation(window, QStringLiteral("Holz Biegung")) > 0);
}

void TestEurocodeWindow::reportPdf()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nachweis.pdf"));
    MessageRecorder messages;
    FileDialogRecorder files;
    files.answers << path;
    MainWindow main;
    main.projectInfoDialog()->setInfoText(0, QStringLiteral("Ingenieurbüro Prüfmann"));
    EurocodeWindow *window = openHandCase(main);
    QVERIFY(window);
    auto *command = window->findChild<EcPrintCommand *>();
    QVERIFY(command);
    command->setPrinterSource([] { return std::unique_ptr<QPrinter>(); });
    QTest::mouseClick(window->printButton(), Qt::LeftButton);
    QCOMPARE(messages.titles(), QStringList({QStringLiteral("Drucken"), QStringLiteral("Drucken")}));
    QVERIFY(QFile::exists(path));
    const QString text = pdfText(path);
    QVERIFY2(text.count(u'\f') >= 3, qPrintable(QStringLiteral("pages: %1").arg(text.count(u'\f'))));
    for (const char *expected :
         {"Nachweis nach Eurocode", "Ingenieurbüro Prüfmann", "Neubau EFH", "Belastung", "Baustoffe und Beiwerte",
          "kmod(medium)", "Kombinationen", "Hüllkurven", "max M = 8,70 kNm", "max V = 8,70 kN", "Nachweise Holz",
          "η = 0,88", "Nachweise Stahl", "Annahmen", "Seite 3"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
}

// The example of the user guide: the window, varno-calc --eurocode --json and
// the report varno-calc --eurocode --pdf writes show the same utilisations.
void TestEurocodeWindow::sameNumbersAsCli()
{
    const QString calc = qEnvironmentVariable("VARNO_CALC");
    if (calc.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("needs varno-calc (VARNO_CALC) and pdftotext");
    const QString example = QStringLiteral(VARNO_SOURCE_DIR "/docs/beispiel.lof");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cli.pdf"));
    QProcess json;
    json.start(calc, {QStringLiteral("--eurocode"), QStringLiteral("--json"), example});
    QVERIFY(json.waitForFinished(60000));
    const QJsonObject eurocode =
        QJsonDocument::fromJson(json.readAllStandardOutput()).object().value(QStringLiteral("eurocode")).toObject();
    QVERIFY(!eurocode.isEmpty());
    QCOMPARE(QProcess::execute(calc, {QStringLiteral("--eurocode"), QStringLiteral("--pdf"), pdf, example}), 0);
    const QString report = pdfText(pdf);

    MessageRecorder messages;
    FileDialogRecorder files;
    MainWindow main;
    QVERIFY(main.openProjectFile(example));
    main.showEurocode();
    EurocodeWindow *window = main.eurocodeWindow();
    const struct
    {
        const char *member, *check, *shown;
    } checks[] = {{"timber", "bending", "Holz Biegung"},
                  {"timber", "shear", "Holz Schub"},
                  {"timber", "deflectionInst", "Holz Durchbiegung w_inst"},
                  {"timber", "deflectionFin", "Holz Durchbiegung w_fin"},
                  {"timber", "deflectionNetFin", "Holz Durchbiegung w_net,fin"},
                  {"steel", "bending", "Stahl Biegung"},
                  {"steel", "shear", "Stahl Querkraft"},
                  {"steel", "bendingShear", "Stahl Biegung mit Querkraft"},
                  {"steel", "deflection", "Stahl Durchbiegung"}};
    for (const auto &c : checks) {
        const double expected = eurocode.value(QLatin1String(c.member))
                                    .toObject()
                                    .value(QStringLiteral("checks"))
                                    .toObject()
                                    .value(QLatin1String(c.check))
                                    .toObject()
                                    .value(QStringLiteral("utilisation"))
                                    .toDouble(-1);
        QVERIFY2(expected >= 0, c.check);
        const double rounded = std::round(expected * 100) / 100;
        QCOMPARE(shownUtilisation(window, QString::fromUtf8(c.shown)), rounded);
        // The report writes German numbers whatever the locale.
        const QString inReport = QStringLiteral("%1 η = %2")
                                     .arg(QString::fromUtf8(c.shown).section(u' ', 1),
                                          QString::number(rounded, 'f', 2).replace(u'.', u','));
        QVERIFY2(report.contains(inReport), qPrintable(inReport));
    }
}

void TestEurocodeWindow::brokenDataFile()
{
    // A copy of the data with one unreadable strength of C24.
    QTemporaryDir dir;
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const char *name : ec::DataFileNames)
        QVERIFY(QFile::copy(bin.filePath(QString::fromLatin1(name)), dir.filePath(QString::fromLatin1(name))));
    QFile classes(dir.filePath(QStringLiteral("timber_classes.csv")));
    QVERIFY(classes.open(QIODevice::ReadOnly));
    QString content = QString::fromUtf8(classes.readAll());
    classes.close();
    content.replace(QStringLiteral("timber.C24,C24,solid,EN 338:2016 Table 1,24,"),
                    QStringLiteral("timber.C24,C24,solid,EN 338:2016 Table 1,2x4,"));
    QVERIFY(classes.open(QIODevice::WriteOnly | QIODevice::Truncate));
    classes.write(content.toUtf8());
    classes.close();

    MessageRecorder messages;
    MainWindow main;
    OtherData inputs(main, dir.path());
    EurocodeWindow window(inputs, {main.dimensionsDialog(), main.loadDialog(), main.materialDialog()});
    window.show();
    const QLabel *note = byName<QLabel>(&window, QStringLiteral("Hinweis"));
    QVERIFY(note->isVisible());
    QVERIFY2(note->text().contains(QStringLiteral("timber_classes.csv")), qPrintable(note->text()));
    QVERIFY(note->text().contains(QStringLiteral("2x4")));
    QCOMPARE(byName<QLabel>(&window, QStringLiteral("Holz Biegung Ausnutzung"))->text(), QStringLiteral("\u2013"));
    // The rest of the program goes on.
    main.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("5"));
    QVERIFY(main.runAnalysis());
    QVERIFY(messages.shown.isEmpty());
}

void TestEurocodeWindow::menuEntry()
{
    MainWindow main;
    QSet<QChar> mnemonics;
    for (QAction *action : main.menuBar()->actions()) {
        const int amp = int(action->text().indexOf(u'&'));
        QVERIFY(amp >= 0);
        const QChar key = action->text().at(amp + 1).toLower();
        // "&Bearbeiten" and "&Belastung" share theirs from the start.
        if (key != u'b')
            QVERIFY2(!mnemonics.contains(key), qPrintable(action->text()));
        mnemonics.insert(key);
    }
    // Its letter opens the window.
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_U, Qt::AltModifier);
    QVERIFY(main.eurocodeWindow() && main.eurocodeWindow()->isVisible());
}

void TestEurocodeWindow::everyFieldAndResultNamed()
{
    MainWindow main;
    main.showEurocode();
    const EurocodeWindow *window = main.eurocodeWindow();
    QSet<QString> names;
    int named = 0;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const bool input = qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w)
                           || qobject_cast<QPushButton *>(w);
        const bool result = (qobject_cast<QLabel *>(w) && w->focusPolicy() != Qt::NoFocus)
                            || w->objectName().startsWith(QLatin1String("bar"));
        if (!input && !result)
            continue;
        if (qobject_cast<QLineEdit *>(w) && qobject_cast<QComboBox *>(w->parentWidget()))
            continue;   // the edit inside a combo box
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        QVERIFY2(!names.contains(w->accessibleName()), qPrintable(w->accessibleName()));
        names.insert(w->accessibleName());
        ++named;
    }
    // b, h, 8 limits, 9 combo boxes, 2 buttons; 9 checks × 4, 2 sections, their 2 notes, the note.
    QCOMPARE(named, 2 + 8 + 9 + 2 + 9 * 4 + 2 + 2 + 1);
}

void TestEurocodeWindow::gradeWithoutClass()
{
    // MS 13 has no EN class: the timber checks wait for one, steel goes on.
    MessageRecorder messages;
    MainWindow main;
    main.materialDialog()->setTimberGrade(3);
    main.showEurocode();
    EurocodeWindow *window = main.eurocodeWindow();
    QCOMPARE(byName<QLabel>(window, QStringLiteral("Holz Biegung Ausnutzung"))->text(), QStringLiteral("\u2013"));
    QVERIFY(shownUtilisation(window, QStringLiteral("Stahl Biegung")) > 0);
    auto *classes = byName<QComboBox>(window, QStringLiteral("Festigkeitsklasse"));
    QVERIFY(classes->itemText(0).contains(QStringLiteral("keine Zuordnung")));
    classes->setCurrentIndex(classes->findText(QStringLiteral("C30")));
    QVERIFY(shownUtilisation(window, QStringLiteral("Holz Biegung")) > 0);
}

void TestEurocodeWindow::fitsScreen()
{
    QFETCH(qreal, fontScale);
    test::ScaledApplicationFont font(fontScale);
    MainWindow main;
    main.showEurocode();
    EurocodeWindow *window = main.eurocodeWindow();
    window->adjustSize();
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    const QSize needed = window->minimumSizeHint() + frame;
    QVERIFY2(needed.width() <= 1280 && needed.height() <= 1024 - 40,
             qPrintable(QStringLiteral("%1 x %2").arg(needed.width()).arg(needed.height())));
    QVERIFY(window->size().width() <= 1280 && window->size().height() <= 1024);
}

QTEST_MAIN(TestEurocodeWindow)
#include "tst_ui_eurocode.moc"
