// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The window "Nachweis nach Eurocode", driven through accessible names: a
// hand-checked beam, updates from the input windows, unreadable texts, the
// report as a PDF, a broken data file, the menu entry and the window's size;
// its role for screen readers and its Escape; and the same runs in the
// window, the text, the JSON and the report of varno-calc, check by check.

#include "app/mainwindow.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "dialogs/materialdialog.h"
#include "dialogs/projectinfodialog.h"
#include "eurocode/ecdata.h"
#include "app/ecprintcommand.h"
#include "results/eurocodewindow.h"
#include "tests/testsupport.h"

#include <QAbstractItemView>
#include <QAccessible>
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
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>
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
// the default grade S 10 (mapped to C24) 10 × 20 cm, service class 1. The
// width is typed with a decimal comma, as a German user types it.
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
    typeInto(byName<QLineEdit>(window, QStringLiteral("Breite b in cm")), QStringLiteral("10,0"));
    typeInto(byName<QLineEdit>(window, QStringLiteral("Höhe h in cm, leer: bemessen")), QStringLiteral("20"));
    return window;
}

// A project file of one span L with g and q, timber grade S 10, steel grade 0.
bool writeSingleSpan(const QString &path, double l, double g, double q)
{
    QByteArray out;
    for (double first : {l, g, q, 0.0, 0.0})
        out += QByteArray::number(first).leftJustified(14, ' ') + "0             0             0             0\n";
    for (int i = 0; i < 27; ++i)
        out += "0             0\n";
    out += " 1             0\n";
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(out) == out.size();
}

QByteArray calcOutput(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("VARNO_CALC"), args);
    p.waitForFinished(60000);
    return p.readAllStandardOutput();
}

// The lines of one member: from the line that `start` matches to the next
// line that one of `ends` matches.
QStringList memberLines(const QStringList &lines, const QString &start, const QStringList &ends)
{
    qsizetype from = 0;
    while (from < lines.size() && !QRegularExpression(start).match(lines[from]).hasMatch())
        ++from;
    if (from == lines.size())
        return {};
    for (qsizetype i = from + 1; i < lines.size(); ++i)
        for (const QString &end : ends)
            if (QRegularExpression(end).match(lines[i]).hasMatch())
                return lines.mid(from, i - from);
    return lines.mid(from);
}

// The lines of one check, from its heading to the next heading of any check;
// `heading` makes the pattern of a heading from a name.
QString checkBlock(const QStringList &lines, const QStringList &names, const QString &name, const QString &heading)
{
    auto isHeading = [&](const QString &line, const QString &n) {
        return QRegularExpression(heading.arg(QRegularExpression::escape(n))).match(line).hasMatch();
    };
    qsizetype start = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool any = std::any_of(names.begin(), names.end(), [&](const QString &n) { return isHeading(lines[i], n); });
        if (start >= 0 && any)
            return lines.mid(start, i - start).join(u'\n');
        if (start < 0 && isHeading(lines[i], name))
            start = i;
    }
    return start < 0 ? QString() : lines.mid(start).join(u'\n');
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
    void windowForScreenReaders();
    void escapeClosesAnOpenListFirst();
    void everyOutputSameChecks_data();
    void everyOutputSameChecks();
};

void TestEurocodeWindow::handCheckedCase_data()
{
    // By hand: ULS 1.35·1 + 1.5·2 = 4.35 kN/m; M = 4.35·4²/8 = 8.7 kNm,
    // V = 8.7 kN. W = 100·200²/6 mm³, I = 100·200³/12 mm⁴. From the data
    // files: kmod = 0.8 (q of category A: medium term), γM = 1.3, kh = 1
    // (h ≥ 150 mm), kcr = 2.0 / fv,k, C24: fm,k = 24, fv,k = 4, E0,mean =
    // 11000 N/mm². Characteristic 3 kN/m: w = 5·3·4000⁴/(384·E·I) against
    // 4000/300.
    // The table of places shows the same at the governing place, in the
    // column of the check.
    QTest::addColumn<QString>("check");
    QTest::addColumn<double>("expected");
    QTest::addColumn<bool>("overLimit");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("column");
    QTest::newRow("bending") << "Holz Biegung" << (8.7e6 / (100.0 * 200 * 200 / 6)) / (0.8 * 24 / 1.3) << false
                             << "Feld 1" << "Holz\nBiegung";
    QTest::newRow("shear") << "Holz Schub" << (1.5 * 8700 / (0.5 * 100 * 200)) / (0.8 * 4.0 / 1.3) << false
                           << "Auflager A" << "Holz\nSchub";
    QTest::newRow("w_inst")
        << "Holz Durchbiegung w_inst"
        << (5 * 3.0 * std::pow(4000.0, 4) / (384 * 11000.0 * (100.0 * 200 * 200 * 200 / 12))) / (4000.0 / 300) << true
        << "Feld 1" << "Holz\nw_inst";
}

void TestEurocodeWindow::handCheckedCase()
{
    QFETCH(QString, check);
    QFETCH(double, expected);
    QFETCH(bool, overLimit);
    QFETCH(QString, place);
    QFETCH(QString, column);
    MessageRecorder messages;
    MainWindow main;
    EurocodeWindow *window = openHandCase(main);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(shownUtilisation(window, check), std::round(expected * 100) / 100);
    const QTableWidget *table = window->placeTable();
    QStringList places, columns;
    for (int r = 0; r < table->rowCount(); ++r)
        places << table->item(r, 0)->text();
    for (int c = 0; c < table->columnCount(); ++c)
        columns << table->horizontalHeaderItem(c)->text();
    // One span: its field between the supports A and B.
    QCOMPARE(places, QStringList({QStringLiteral("Auflager A"), QStringLiteral("Feld 1"), QStringLiteral("Auflager B")}));
    const QTableWidgetItem *cell = table->item(int(places.indexOf(place)), int(columns.indexOf(column)));
    QVERIFY2(cell, qPrintable(columns.join(u',')));
    QCOMPARE(cell->text().toDouble(), std::round(expected * 100) / 100);
    QCOMPARE(cell->data(Qt::AccessibleTextRole).toString().endsWith(QStringLiteral("nicht erfüllt")), overLimit);
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
          "kmod (mittel)", "Kombinationen", "Hüllkurven", "max M = 8,70 kNm", "max V = 8,70 kN", "Nachweise Holz",
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

void TestEurocodeWindow::windowForScreenReaders()
{
    MainWindow main;
    main.showEurocode();
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(main.eurocodeWindow());
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Window);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Nachweis nach Eurocode"));
}

void TestEurocodeWindow::escapeClosesAnOpenListFirst()
{
    MessageRecorder messages;
    MainWindow main;
    main.showEurocode();
    EurocodeWindow *window = main.eurocodeWindow();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *category = byName<QComboBox>(window, QStringLiteral("Nutzlastkategorie"));
    category->setFocus();
    category->showPopup();
    QVERIFY(category->view()->isVisible());
    QTest::keyClick(category->view(), Qt::Key_Escape);
    QVERIFY(!category->view()->isVisible());
    QVERIFY(window->isVisible());
    QTest::keyClick(category, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
}

void TestEurocodeWindow::everyOutputSameChecks_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("g");
    QTest::addColumn<double>("q");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");     // empty: sized
    QTest::addColumn<QString>("steel");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("profile");    // empty: sized
    QTest::addColumn<QString>("category");
    // w = 19.9 mm > l/300 = 16.7 mm; the timber sized.
    QTest::newRow("IPE 200 too soft") << 5.0 << 4.0 << 6.0 << "8.0" << "" << "S235" << "IPE" << "IPE 200" << "A";
    // σm,d = 16.31 > fm,d = 14.77 N/mm².
    QTest::newRow("C24 10 × 30 overstressed") << 3.0 << 5.0 << 10.0 << "10" << "30" << "S235" << "HE-A" << "" << "A";
    // hw/tw = 56.2 > 72ε/η = 48.8.
    QTest::newRow("HE 1000 A slender web") << 6.0 << 100.0 << 100.0 << "10" << "30" << "S355" << "HE-A"
                                           << "HE 1000 A" << "A";
    // The load duration of category F has no citable source.
    QTest::newRow("category F") << 4.0 << 1.0 << 2.0 << "10" << "20" << "S235" << "HE-B" << "" << "F";
}

// The same run in the window, varno-calc's text, its JSON and its report:
// per check the same utilisation, verdict, warnings and source marks.
void TestEurocodeWindow::everyOutputSameChecks()
{
    QFETCH(double, length);
    QFETCH(double, g);
    QFETCH(double, q);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, steel);
    QFETCH(QString, series);
    QFETCH(QString, profile);
    QFETCH(QString, category);
    if (qEnvironmentVariable("VARNO_CALC").isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("needs varno-calc (VARNO_CALC) and pdftotext");
    QTemporaryDir dir;
    const QString beam = dir.filePath(QStringLiteral("beam.lof"));
    QVERIFY(writeSingleSpan(beam, length, g, q));
    QStringList args{QStringLiteral("--eurocode"), QStringLiteral("--locale"), QStringLiteral("C"), QStringLiteral("--width"),
                     width, QStringLiteral("--ec-steel"), steel, QStringLiteral("--series"), series,
                     QStringLiteral("--imposed-category"), category};
    if (!height.isEmpty())
        args << QStringLiteral("--ec-height") << height;
    if (!profile.isEmpty())
        args << QStringLiteral("--ec-profile") << profile;
    const QJsonObject json =
        QJsonDocument::fromJson(calcOutput(args + QStringList{QStringLiteral("--json"), beam})).object()["eurocode"].toObject();
    const QStringList text = QString::fromUtf8(calcOutput(args + QStringList{beam})).split(u'\n');
    const QString pdf = dir.filePath(QStringLiteral("nachweis.pdf"));
    calcOutput(args + QStringList{QStringLiteral("--pdf"), pdf, beam});
    const QStringList report = pdfText(pdf).split(u'\n');

    MessageRecorder messages;
    MainWindow main;
    QVERIFY(main.openProjectFile(beam));
    main.showEurocode();
    EurocodeWindow *window = main.eurocodeWindow();
    typeInto(byName<QLineEdit>(window, QStringLiteral("Breite b in cm")), width);
    typeInto(byName<QLineEdit>(window, QStringLiteral("Höhe h in cm, leer: bemessen")), height);
    for (const auto &[name, item] : {std::pair{"Stahlsorte", steel}, std::pair{"Profilreihe", series},
                                     std::pair{"Profil, leer: bemessen", profile.isEmpty() ? QStringLiteral("bemessen") : profile},
                                     std::pair{"Nutzlastkategorie", category}}) {
        auto *box = byName<QComboBox>(window, QString::fromUtf8(name));
        QVERIFY2(box->findText(item) >= 0, qPrintable(item));
        box->setCurrentIndex(box->findText(item));
    }

    const struct Member
    {
        const char *id, *label, *textStart, *reportStart;
        QStringList ids, names;
    } members[] = {
        {"timber", "Holz", "^Holz .*, Nutzungsklasse", "^Nachweise Holz",
         {"bending", "shear", "deflectionInst", "deflectionFin", "deflectionNetFin"},
         {"Biegung", "Schub", "Durchbiegung w_inst", "Durchbiegung w_fin", "Durchbiegung w_net,fin"}},
        {"steel", "Stahl", "^Stahl S\\d", "^Nachweise Stahl",
         {"bending", "shear", "bendingShear", "deflection"},
         {"Biegung", "Querkraft", "Biegung mit Querkraft", "Durchbiegung"}},
    };
    int compared = 0;
    for (const Member &m : members) {
        const QJsonObject checks = json[QLatin1String(m.id)].toObject()["checks"].toObject();
        const QStringList textPart = memberLines(text, QLatin1String(m.textStart),
                                                 {QStringLiteral("^Stahl S\\d"), QStringLiteral("^Verwendete Werte")});
        const QStringList reportPart = memberLines(report, QLatin1String(m.reportStart),
                                                   {QStringLiteral("^Nachweise Stahl"), QStringLiteral("^Ergebnis")});
        const QLabel *notes = byName<QLabel>(window, QStringLiteral("%1 Hinweise").arg(QLatin1String(m.label)));
        for (int i = 0; i < m.ids.size(); ++i) {
            const QJsonObject c = checks[m.ids[i]].toObject();
            const QString name = m.names[i];
            const QString shown = QStringLiteral("%1 %2").arg(QLatin1String(m.label), name);
            QVERIFY2(c.contains(QStringLiteral("utilisation")), qPrintable(shown));
            const QString eta = QString::number(c["utilisation"].toDouble(), 'f', 2);
            const bool met = c["met"].toBool();
            QCOMPARE(met, c["utilisation"].toDouble() <= 1);
            const QString verdict = met ? QStringLiteral("erfüllt") : QStringLiteral("nicht erfüllt");
            QStringList warnings;
            for (const QJsonValue &w : c["warnings"].toArray())
                warnings << w.toString();
            QStringList keys;
            for (const QJsonValue &k : c["uncitedValues"].toArray())
                keys << k.toString();
            const QString mark = keys.isEmpty() ? QString()
                                                : QStringLiteral("Quelle: nicht belegt (%1)").arg(keys.join(QStringLiteral(", ")));

            const QString inText = checkBlock(textPart, m.names, name, QStringLiteral("^  %1: "));
            QVERIFY2(inText.contains(QStringLiteral("η = %1 – %2").arg(eta, verdict)), qPrintable(inText));
            const QString inReport = checkBlock(reportPart, m.names, name, QStringLiteral("^%1\\s+(η|nicht)"));
            QVERIFY2(inReport.contains(QStringLiteral("η = %1 – %2").arg(QString(eta).replace(u'.', u','), verdict)),
                     qPrintable(inReport));
            QCOMPARE(byName<QLabel>(window, shown + QStringLiteral(" Ausnutzung"))->text(), QStringLiteral("η = ") + eta);
            const QLabel *windowVerdict = byName<QLabel>(window, shown + QStringLiteral(" Ergebnis"));
            QVERIFY2(windowVerdict->text().startsWith(verdict), qPrintable(windowVerdict->text()));
            QCOMPARE(windowVerdict->text().contains(QStringLiteral("Quelle: nicht belegt")), !keys.isEmpty());
            QVERIFY(byName<QWidget>(window, shown + QStringLiteral(" Balken"))->accessibleDescription().endsWith(mark));
            for (const QString &block : {inText, inReport})
                QCOMPARE(block.contains(QStringLiteral("Quelle: nicht belegt")), !keys.isEmpty());
            if (!keys.isEmpty()) {
                QVERIFY2(inText.contains(mark), qPrintable(inText));
                QVERIFY2(inReport.simplified().contains(mark), qPrintable(inReport));
            }
            for (const QString &w : std::as_const(warnings)) {
                QVERIFY2(inText.contains(QStringLiteral("Warnung: ") + w), qPrintable(inText));
                QVERIFY2(inReport.contains(QStringLiteral("Warnung: ") + QString(w).replace(u'.', u',')), qPrintable(inReport));
                QVERIFY2(notes->isVisible() && notes->text().contains(QStringLiteral("%1: %2").arg(name, w)),
                         qPrintable(notes->text()));
            }
            ++compared;
        }
    }
    QCOMPARE(compared, 9);
}

QTEST_MAIN(TestEurocodeWindow)
#include "tst_ui_eurocode.moc"
