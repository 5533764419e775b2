// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/aboutwindow.h"
#include "app/mainwindow.h"
#include "widgets/help.h"
#include "widgets/messages.h"
#include "model/projectmodel.h"
#include "session/session.h"
#include "widgets/svgpicture.h"
#include "results/resultswindow.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "dialogs/materialdialog.h"
#include "dialogs/projectinfodialog.h"
#include "widgets/picturearea.h"
#include "tests/testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace varno;
using varno::test::MessageRecorder;

namespace {

QAction *action(const MainWindow &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}

// The explicit hidden flag: a field in a frame of another tab is not hidden
// itself, only not visible.
bool fieldHidden(const QWidget *dialog, const QString &name)
{
    const auto *widget = dialog->findChild<QWidget *>(name);
    return widget ? widget->isHidden() : false;
}

// Which fields and captions of the two windows are explicitly hidden, to
// compare before and after a command. The sketch's own labels follow the
// lengths and are left out.
QStringList hiddenFields(const MainWindow &window)
{
    QStringList hidden;
    for (const QWidget *dialog : {static_cast<const QWidget *>(window.dimensionsDialog()),
                                  static_cast<const QWidget *>(window.loadDialog())}) {
        for (const QLineEdit *field : dialog->findChildren<QLineEdit *>())
            if (field->isHidden())
                hidden << dialog->objectName() + u'/' + field->objectName();
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            if (label->isHidden() && !qobject_cast<const PictureArea *>(label->parentWidget()))
                hidden << dialog->objectName() + u'/' + label->objectName();
    }
    hidden.sort();
    return hidden;
}

const QString ExitTitle = QStringLiteral("Abfrage");
const QString ExitText = QStringLiteral("Sind Sie sicher, dass Sie das Programm beenden wollen?");
const QString OfferText = QStringLiteral("Die Änderungen an „Unbenannt“ speichern?");

// "Neu" after a change first offers to save it; "Verwerfen" lets "Neu" go
// on as it always did. The offer is taken out of the record.
void newDiscardingChanges(const MainWindow &window, MessageRecorder &messages)
{
    messages.answers.prepend(MsgResult::Discard);
    const qsizetype before = messages.shown.size();
    action(window, QStringLiteral("mnuneu"))->trigger();
    QVERIFY(messages.shown.size() > before);
    QCOMPARE(messages.shown[before].text, OfferText);
    QCOMPARE(messages.shown[before].buttons, MsgButtons::SaveDiscardCancel);
    messages.shown.removeAt(before);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void titlePage();
    void inputWindowsExistHidden();
    void topLevelEntries_data();
    void topLevelEntries();
    void menuItems_data();
    void menuItems();
    void disabledShortcutsDoNothing_data();
    void disabledShortcutsDoNothing();

    void systemCommands_data();
    void systemCommands();
    void threeSpanRightAfterStart();
    void newAfterSingleSpan();
    void newRestoresEveryDefault();
    void newWarnsAboutNoRemovedLoad();
    void newShowsNoDistanceWarning_data();
    void newShowsNoDistanceWarning();

    void windowCommands_data();
    void windowCommands();
    void materialCommands_data();
    void materialCommands();
    void helpCommand();
    void helpOpensTheInstalledGuide_data();
    void helpOpensTheInstalledGuide();
    void infoCommand();

    void exitCancelled_data();
    void exitCancelled();
    void exitConfirmed_data();
    void exitConfirmed();

    void resultsRefused_data();
    void resultsRefused();
    void refusedRunDiscardsOpenResults_data();
    void refusedRunDiscardsOpenResults();
    void resultsRecomputeWhileOpen();
    void loadThatDoesNotActIsNamed();
    void projectTextsFollowTheWindows();
};

void TestMainWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestMainWindow::titlePage()
{
    MainWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("Form1"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Durchlaufträger"));
    QCOMPARE(window.systemTypeName(), QString());

    const QStringList labels = [&] {
        QStringList texts;
        for (const QLabel *label : window.centralWidget()->findChildren<QLabel *>())
            texts << label->text();
        return texts;
    }();
    QVERIFY(labels.contains(QStringLiteral("Varno")));
    QVERIFY(labels.contains(QStringLiteral(
        "Dieses Programm ermöglicht es Ihnen für Ein-, Zwei- und Dreifeldträger eine statische Berechnung "
        "anzustellen.  Bei der vorliegneden Version können Sie pro Feld unterschiedliche Gleichlasten und bis "
        "zu 7 Einzellasten eingeben.  Ein Dreifeldträger mit Kragarmen ist in Abbildung 2.0 dargestellt.")));
    QVERIFY(labels.contains(QStringLiteral("Abbildung 1.0 ... Stonehenge  (Einfeldträger aus Felsblöcken)")));
    QVERIFY(labels.contains(QStringLiteral("Abbildung 2.0 ... Durchlaufträger")));

    const auto pictures = window.centralWidget()->findChildren<SvgPicture *>();
    QCOMPARE(pictures.size(), 2);
    for (const SvgPicture *picture : pictures) {
        QVERIFY2(picture->isLoaded(), qPrintable(picture->objectName()));
        QVERIFY(!picture->accessibleName().isEmpty());
    }
}

void TestMainWindow::inputWindowsExistHidden()
{
    MainWindow window;
    const QWidget *dialogs[] = {window.dimensionsDialog(), window.loadDialog(), window.materialDialog(),
                                window.projectInfoDialog()};
    const QString names[] = {QStringLiteral("Form2"), QStringLiteral("Form3"), QStringLiteral("Form4"),
                             QStringLiteral("Form6")};
    for (int i = 0; i < 4; ++i) {
        QVERIFY(dialogs[i]);
        QCOMPARE(dialogs[i]->objectName(), names[i]);
        QCOMPARE(dialogs[i]->parentWidget(), &window);
        QVERIFY(!dialogs[i]->isVisible());
    }
    QVERIFY(!window.resultsWindow());
    QVERIFY(!window.aboutWindow());
    QCOMPARE(window.dataDirectory(), QCoreApplication::applicationDirPath());
}

void TestMainWindow::topLevelEntries_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isMenu");
    QTest::addColumn<QString>("commandName");

    QTest::newRow("Datei") << 0 << "&Datei" << true << QString();
    // Added beside the original entries: the project files, after "&Datei".
    QTest::newRow("Projekt") << 1 << "Pro&jekt" << true << QString();
    QTest::newRow("Bearbeiten") << 2 << "&Bearbeiten" << true << QString();
    QTest::newRow("System") << 3 << "&System" << true << QString();
    QTest::newRow("Belastung") << 4 << "&Belastung" << false << "mnubelastung";
    QTest::newRow("Material") << 5 << "&Material" << true << QString();
    QTest::newRow("Ergebnisse") << 6 << "&Ergebnisse" << false << "mnuergebnisse";
    QTest::newRow("Projektinfo") << 7 << "&Projektinfo" << false << "mnuprojekt";
    // Added beside the original entries: the Eurocode window, before "&?".
    QTest::newRow("Eurocode") << 8 << "E&urocode" << false << "mnueurocode";
    QTest::newRow("Fragezeichen") << 9 << "&?" << true << QString();
}

void TestMainWindow::topLevelEntries()
{
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(bool, isMenu);
    QFETCH(QString, commandName);

    MainWindow window;
    const QList<QAction *> entries = window.menuBar()->actions();
    QCOMPARE(entries.size(), 10);
    QAction *entry = entries.at(position);
    QCOMPARE(entry->text(), text);
    QCOMPARE(entry->menu() != nullptr, isMenu);
    QVERIFY(entry->isEnabled());
    if (!isMenu)
        QCOMPARE(entry->objectName(), commandName);
}

void TestMainWindow::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("position");   // separators count
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");

    const QKeySequence none;
    QTest::newRow("Neu") << "mnuneu" << "&Datei" << 0 << "Neu" << none << true;
    QTest::newRow("Öffnen") << "mnuöffnen" << "&Datei" << 1 << "Öffnen" << QKeySequence(Qt::CTRL | Qt::Key_O) << false;
    QTest::newRow("Speichern") << "mnuspeichern" << "&Datei" << 2 << "Speichern" << QKeySequence(Qt::CTRL | Qt::Key_S)
                               << false;
    QTest::newRow("Drucken") << "mnudrucken" << "&Datei" << 3 << "Drucken" << QKeySequence(Qt::CTRL | Qt::Key_P) << true;
    QTest::newRow("Beenden") << "mnubeenden" << "&Datei" << 5 << "Beenden" << none << true;
    QTest::newRow("Ausschneiden") << "mnuausschneiden" << "&Bearbeiten" << 0 << "Ausschneiden"
                                  << QKeySequence(Qt::CTRL | Qt::Key_X) << false;
    QTest::newRow("Kopieren") << "mnukopieren" << "&Bearbeiten" << 1 << "Kopieren" << QKeySequence(Qt::CTRL | Qt::Key_C)
                              << false;
    QTest::newRow("Einfügen") << "mnueinfügen" << "&Bearbeiten" << 2 << "Einfügen" << QKeySequence(Qt::CTRL | Qt::Key_V)
                              << false;
    QTest::newRow("Einfeldträger") << "mnueinfeld" << "&System" << 0 << "Einfeldträger" << none << true;
    QTest::newRow("Zweifeldträger") << "mnuzweifeld" << "&System" << 1 << "Zweifeldträger" << none << true;
    QTest::newRow("Dreifeldträger") << "mnudreifeld" << "&System" << 2 << "Dreifeldträger" << none << true;
    QTest::newRow("Holz") << "mnuholz" << "&Material" << 0 << "Holz" << none << true;
    QTest::newRow("Stahl") << "mnustahl" << "&Material" << 1 << "Stahl" << none << true;
    QTest::newRow("Hilfe") << "mnuhilfe" << "&?" << 0 << "Hilfe" << none << true;
    QTest::newRow("Info") << "mnuinfo" << "&?" << 2 << "Info" << none << true;
}

void TestMainWindow::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, menu);
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);

    MainWindow window;
    QAction *item = action(window, name);
    QVERIFY2(item, qPrintable(name));
    QCOMPARE(item->text(), text);
    QCOMPARE(item->shortcut(), shortcut);
    QCOMPARE(item->isEnabled(), enabled);

    QMenu *owner = nullptr;
    for (QAction *entry : window.menuBar()->actions())
        if (entry->text() == menu)
            owner = entry->menu();
    QVERIFY(owner);
    QCOMPARE(owner->actions().indexOf(item), position);
    if (position > 0 && (name == QStringLiteral("mnubeenden") || name == QStringLiteral("mnuinfo")))
        QVERIFY(owner->actions().at(position - 1)->isSeparator());
}

void TestMainWindow::disabledShortcutsDoNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expectedTriggers");

    QTest::newRow("Ctrl+O") << "mnuöffnen" << int(Qt::Key_O) << 0;
    QTest::newRow("Ctrl+S") << "mnuspeichern" << int(Qt::Key_S) << 0;
    QTest::newRow("Ctrl+X") << "mnuausschneiden" << int(Qt::Key_X) << 0;
    QTest::newRow("Ctrl+C") << "mnukopieren" << int(Qt::Key_C) << 0;
    QTest::newRow("Ctrl+V") << "mnueinfügen" << int(Qt::Key_V) << 0;
    // The enabled print item shows that the shortcuts reach the menu at all.
    QTest::newRow("Ctrl+P reaches its item") << "mnudrucken" << int(Qt::Key_P) << 1;
}

void TestMainWindow::disabledShortcutsDoNothing()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(int, expectedTriggers);

    MessageRecorder messages;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QStringList hiddenBefore = hiddenFields(window);
    const ProjectTexts before = window.projectTexts();

    // The print command asks "Drucker vorbereiten?" first; Cancel ends it.
    messages.answers = {MsgResult::Cancel};
    QSignalSpy triggered(action(window, name), &QAction::triggered);
    QTest::keyClick(&window, Qt::Key(key), Qt::ControlModifier);

    QCOMPARE(triggered.count(), expectedTriggers);
    QCOMPARE(messages.shown.size(), expectedTriggers);
    QVERIFY(window.isVisible());
    for (const QWidget *top : QApplication::topLevelWidgets())
        QVERIFY2(top == &window || !top->isVisible(), qPrintable(top->objectName()));
    QCOMPARE(hiddenFields(window), hiddenBefore);
    QCOMPARE(window.projectTexts().lengths, before.lengths);
}

void TestMainWindow::systemCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("systemTypeName");
    QTest::addColumn<QString>("L2");
    QTest::addColumn<QString>("L3");
    QTest::addColumn<bool>("span2Hidden");
    QTest::addColumn<bool>("span3Hidden");

    // The user has typed other lengths before the command.
    QTest::newRow("Einfeldträger") << "mnueinfeld" << "Einfelträger" << "0.00" << "0.00" << true << true;
    QTest::newRow("Zweifeldträger") << "mnuzweifeld" << "Zweifelträger" << "4.50" << "0.00" << false << true;
    QTest::newRow("Dreifeldträger") << "mnudreifeld" << "Dreifelträger" << "4.50" << "3.25" << false << false;
}

void TestMainWindow::systemCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, systemTypeName);
    QFETCH(QString, L2);
    QFETCH(QString, L3);
    QFETCH(bool, span2Hidden);
    QFETCH(bool, span3Hidden);

    MessageRecorder messages;
    MainWindow window;
    DimensionsDialog *dimensions = window.dimensionsDialog();
    LoadDialog *loads = window.loadDialog();
    dimensions->setLengthText(LengthL1, QStringLiteral("7.00"));
    dimensions->setLengthText(LengthL2, QStringLiteral("4.50"));
    dimensions->setLengthText(LengthL3, QStringLiteral("3.25"));
    // With the copy boxes cleared, the rows of all existing regions are shown,
    // so a hidden row afterwards is the command's doing.
    for (int k = 0; k < LoadTypeCount; ++k)
        loads->setSameForAll(k, false);
    QVERIFY(!fieldHidden(loads, QStringLiteral("Text2(0)")));
    QVERIFY(!fieldHidden(loads, QStringLiteral("Text3(3)")));

    action(window, command)->trigger();

    QCOMPARE(window.systemTypeName(), systemTypeName);
    QCOMPARE(dimensions->lengthText(LengthL1), QStringLiteral("7.00"));
    QCOMPARE(dimensions->lengthText(LengthL2), L2);
    QCOMPARE(dimensions->lengthText(LengthL3), L3);
    QVERIFY(dimensions->isVisible());
    QVERIFY(!loads->isVisible());
    QVERIFY(messages.shown.isEmpty());

    QCOMPARE(fieldHidden(dimensions, QStringLiteral("Text2")), span2Hidden);
    QCOMPARE(fieldHidden(dimensions, QStringLiteral("Label2(1)")), span2Hidden);
    QCOMPARE(fieldHidden(dimensions, QStringLiteral("Text3")), span3Hidden);
    QCOMPARE(fieldHidden(dimensions, QStringLiteral("Label2(2)")), span3Hidden);
    QVERIFY(!fieldHidden(dimensions, QStringLiteral("Text1")));
    for (int k = 0; k < LoadTypeCount; ++k) {
        QCOMPARE(fieldHidden(loads, QStringLiteral("Text2(%1)").arg(k)), span2Hidden);
        QCOMPARE(fieldHidden(loads, QStringLiteral("Label3(%1)").arg(k)), span2Hidden);
        QCOMPARE(fieldHidden(loads, QStringLiteral("Text3(%1)").arg(k)), span3Hidden);
        QCOMPARE(fieldHidden(loads, QStringLiteral("Label4(%1)").arg(k)), span3Hidden);
        QVERIFY(!fieldHidden(loads, QStringLiteral("Text1(%1)").arg(k)));
    }
    // The sketch follows the lengths the command has set.
    QCOMPARE(window.session().TotalLength, LeadingNumber(QStringLiteral("7.00")) + LeadingNumber(L2) + LeadingNumber(L3));
}

void TestMainWindow::threeSpanRightAfterStart()
{
    MessageRecorder messages;
    MainWindow window;
    const QStringList hiddenBefore = hiddenFields(window);
    QVERIFY(!hiddenBefore.isEmpty());   // the copy boxes hide regions 2 to 5

    action(window, QStringLiteral("mnudreifeld"))->trigger();

    QCOMPARE(window.systemTypeName(), QStringLiteral("Dreifelträger"));
    QCOMPARE(window.dimensionsDialog()->lengthTexts(), ProjectTexts::Defaults().lengths);
    QCOMPARE(hiddenFields(window), hiddenBefore);
    QVERIFY(window.dimensionsDialog()->isVisible());
    QVERIFY(messages.shown.isEmpty());
}

void TestMainWindow::newAfterSingleSpan()
{
    MessageRecorder messages;
    MainWindow window;
    action(window, QStringLiteral("mnueinfeld"))->trigger();
    const QStringList hiddenAfterCommand = hiddenFields(window);

    newDiscardingChanges(window, messages);

    DimensionsDialog *dimensions = window.dimensionsDialog();
    QCOMPARE(dimensions->lengthText(LengthL2), QStringLiteral("6.00"));
    QCOMPARE(dimensions->lengthText(LengthL3), QStringLiteral("5.00"));
    QCOMPARE(window.systemTypeName(), QStringLiteral("Einfelträger"));
    // New shows no row that the command hid.
    QCOMPARE(hiddenFields(window), hiddenAfterCommand);
    QVERIFY(fieldHidden(dimensions, QStringLiteral("Text2")));
    QVERIFY(messages.shown.isEmpty());
}

void TestMainWindow::newRestoresEveryDefault()
{
    MessageRecorder messages;
    MainWindow window;
    DimensionsDialog *dimensions = window.dimensionsDialog();
    LoadDialog *loads = window.loadDialog();
    MaterialDialog *material = window.materialDialog();
    ProjectInfoDialog *info = window.projectInfoDialog();

    for (int index = 0; index < RegionCount; ++index)
        dimensions->setLengthText(index, QStringLiteral("9.50"));
    for (int k = 0; k < LoadTypeCount; ++k)
        loads->setSameForAll(k, false);
    for (int region = 1; region <= RegionCount; ++region)
        for (int k = 0; k < LoadTypeCount; ++k)
            loads->setUniformText(region, k, QString::number(region * 10 + k));
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        loads->setForceText(slot, QStringLiteral("12.5"));
        loads->setDistanceText(slot, QStringLiteral("0.5"));
    }
    material->setTimberGrade(7);
    material->setSteelGrade(2);
    info->setInfoText(1, QStringLiteral("Umbau Scheune"));
    const QString firstInfo = info->infoText(0);
    QVERIFY(messages.shown.isEmpty());

    newDiscardingChanges(window, messages);

    const ProjectTexts defaults = ProjectTexts::Defaults();
    const ProjectTexts now = window.projectTexts();
    QCOMPARE(now.lengths, defaults.lengths);
    for (int region = 1; region <= RegionCount; ++region)
        for (int k = 0; k < LoadTypeCount; ++k)
            QCOMPARE(now.uniform[region - 1][k], k == LoadG ? QStringLiteral("2.00") : QStringLiteral("0.00"));
    QCOMPARE(now.force, defaults.force);
    QCOMPARE(now.distance, defaults.distance);
    QCOMPARE(now.timberGrade, 1);
    QCOMPARE(now.steelGrade, 0);
    for (int k = 0; k < LoadTypeCount; ++k)
        QVERIFY(loads->sameForAll(k));
    // New leaves the project information alone.
    QCOMPARE(info->infoText(1), QStringLiteral("Umbau Scheune"));
    QCOMPARE(info->infoText(0), firstInfo);
    QVERIFY(messages.shown.isEmpty());
}

// Loads on a cantilever that New shortens to 0.00 are cleared with the rest;
// the distance check must not report them while New clears the other slots.
void TestMainWindow::newWarnsAboutNoRemovedLoad()
{
    MessageRecorder messages;
    MainWindow window;
    DimensionsDialog *dimensions = window.dimensionsDialog();
    LoadDialog *loads = window.loadDialog();
    dimensions->setLengthText(LengthL1, QStringLiteral("9.00"));
    dimensions->setLengthText(LengthLeft, QStringLiteral("2.00"));
    dimensions->setLengthText(LengthRight, QStringLiteral("1.50"));
    const std::pair<int, const char *> loaded[] = {{0, "7.5"}, {3, "8"}, {21, "1.5"}, {22, "2"}, {25, "1"}};
    for (const auto &[slot, distance] : loaded) {
        loads->setForceText(slot, QStringLiteral("10"));
        loads->setDistanceText(slot, QString::fromLatin1(distance));
    }
    QVERIFY(messages.shown.isEmpty());

    newDiscardingChanges(window, messages);

    QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.shown.value(0).text));
    for (const auto &[slot, distance] : loaded) {
        QCOMPARE(loads->forceText(slot), QStringLiteral("0"));
        QCOMPARE(loads->distanceText(slot), QStringLiteral("0"));
    }
    QCOMPARE(dimensions->lengthText(LengthLeft), QStringLiteral("0.00"));
}

void TestMainWindow::newShowsNoDistanceWarning_data()
{
    QTest::addColumn<QList<int>>("loadedSlots");
    QTest::newRow("two loads beyond span 1") << QList<int>{0, 1};
    QTest::newRow("beyond span 1 and the left cantilever") << QList<int>{2, 21};
    QTest::newRow("every slot beyond its region") << [] {
        QList<int> all;
        for (int slot = 0; slot < PointLoadSlotCount; ++slot)
            all << slot;
        return all;
    }();
}

// Loads already out of range when New runs: New removes them all without a
// word, also while the first of them is cleared and the others still lie
// beyond their regions.
void TestMainWindow::newShowsNoDistanceWarning()
{
    QFETCH(QList<int>, loadedSlots);
    MessageRecorder messages;
    MainWindow window;
    window.dimensionsDialog()->setLengthText(LengthLeft, QStringLiteral("1"));
    for (int slot : loadedSlots) {
        window.loadDialog()->setForceText(slot, QStringLiteral("10"));
        window.loadDialog()->setDistanceText(slot, QStringLiteral("99"));
    }
    QVERIFY(!messages.shown.isEmpty());   // each was reported when typed
    messages.shown.clear();

    newDiscardingChanges(window, messages);

    QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.shown.value(0).text));
    QCOMPARE(window.projectTexts().distance, ProjectTexts::Defaults().distance);
    QCOMPARE(window.projectTexts().force, ProjectTexts::Defaults().force);
}

void TestMainWindow::windowCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");

    QTest::newRow("Belastung") << "mnubelastung" << "Form3";
    QTest::newRow("Projektinfo") << "mnuprojekt" << "Form6";
}

void TestMainWindow::windowCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, window);

    MessageRecorder messages;
    MainWindow main;
    main.show();
    auto *shown = main.findChild<QDialog *>(window);
    QVERIFY(shown);
    QVERIFY(!shown->isVisible());

    action(main, command)->trigger();
    QVERIFY(shown->isVisible());
    QVERIFY(!shown->isModal());
    QVERIFY(!QApplication::activeModalWidget());

    // A second time it stays the same window, with what it holds.
    auto *field = shown->findChild<QLineEdit *>();
    QVERIFY(field);
    field->setText(QStringLiteral("4"));
    action(main, command)->trigger();
    QCOMPARE(main.findChildren<QDialog *>(window).size(), 1);
    QVERIFY(shown->isVisible());
    QCOMPARE(field->text(), QStringLiteral("4"));
    QVERIFY(messages.shown.isEmpty());
}

void TestMainWindow::materialCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("timberShown");
    QTest::addColumn<bool>("steelShown");

    QTest::newRow("Holz") << "mnuholz" << true << false;
    QTest::newRow("Stahl") << "mnustahl" << false << true;
}

void TestMainWindow::materialCommands()
{
    QFETCH(QString, command);
    QFETCH(bool, timberShown);
    QFETCH(bool, steelShown);

    MainWindow window;
    MaterialDialog *material = window.materialDialog();
    action(window, command)->trigger();
    QVERIFY(material->isVisible());
    QCOMPARE(!fieldHidden(material, QStringLiteral("Frame1")), timberShown);
    QCOMPARE(!fieldHidden(material, QStringLiteral("Frame2")), steelShown);
}

void TestMainWindow::helpCommand()
{
    MessageRecorder messages;
    MainWindow window;
    action(window, QStringLiteral("mnuhilfe"))->trigger();
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Hilfe"));
    QCOMPARE(messages.shown[0].text, QStringLiteral("Derzeit noch keine Hilfe installiert!"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Information);
    QCOMPARE(messages.shown[0].buttons, MsgButtons::Ok);
}

// An installation as the package lays it out: the programs in lib/varno/,
// the guide in share/doc/varno/. "Hilfe" of the menu and of an input window
// open the guide; a guide that nothing can show is named in a warning.
void TestMainWindow::helpOpensTheInstalledGuide_data()
{
    QTest::addColumn<bool>("browser");
    QTest::addColumn<bool>("fromInputWindow");
    QTest::newRow("menu") << true << false;
    QTest::newRow("input window") << true << true;
    QTest::newRow("no program for HTML") << false << false;
}

void TestMainWindow::helpOpensTheInstalledGuide()
{
    QFETCH(bool, browser);
    QFETCH(bool, fromInputWindow);
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("lib/varno")));
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/doc/varno")));
    const QString guide = prefix.filePath(QStringLiteral("share/doc/varno/handbuch.html"));
    QFile file(guide);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    SetHelpProgramFolder(prefix.filePath(QStringLiteral("lib/varno")));
    QList<QUrl> opened;
    SetGuideOpener([&](const QUrl &url) {
        opened << url;
        return browser;
    });
    MessageRecorder messages;
    MainWindow window;
    if (fromInputWindow)
        QTest::mouseClick(window.dimensionsDialog()->findChild<QPushButton *>(QStringLiteral("Command2")),
                          Qt::LeftButton);
    else
        action(window, QStringLiteral("mnuhilfe"))->trigger();
    SetHelpProgramFolder(QString());
    SetGuideOpener(nullptr);

    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(guide)});
    if (browser) {
        QVERIFY(messages.shown.isEmpty());
    } else {
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
        QVERIFY2(messages.shown[0].text.contains(guide), qPrintable(messages.shown[0].text));
    }
}

void TestMainWindow::infoCommand()
{
    MainWindow window;
    action(window, QStringLiteral("mnuinfo"))->trigger();
    QPointer<AboutWindow> about = window.aboutWindow();
    QVERIFY(about);
    QCOMPARE(about->objectName(), QStringLiteral("frmAbout"));
    QVERIFY(about->isVisible());

    // While open, "Info" brings the same window forward.
    action(window, QStringLiteral("mnuinfo"))->trigger();
    QCOMPARE(window.aboutWindow(), about.data());
    QCOMPARE(window.findChildren<AboutWindow *>().size(), 1);

    // "OK" discards it; the next "Info" builds a new one.
    auto *ok = about->findChild<QPushButton *>(QStringLiteral("cmdOK"));
    QVERIFY(ok);
    ok->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!about);
    QVERIFY(!window.aboutWindow());

    action(window, QStringLiteral("mnuinfo"))->trigger();
    QVERIFY(window.aboutWindow());
    QVERIFY(window.aboutWindow()->isVisible());
}

void TestMainWindow::exitCancelled_data()
{
    QTest::addColumn<bool>("byTitleBar");
    QTest::newRow("Beenden") << false;
    QTest::newRow("title bar") << true;
}

void TestMainWindow::exitCancelled()
{
    QFETCH(bool, byTitleBar);

    MessageRecorder messages;
    // The change is offered for saving first and discarded; then the
    // question of old is cancelled.
    messages.answers << MsgResult::Discard << MsgResult::Cancel;
    MainWindow window;
    window.show();
    action(window, QStringLiteral("mnubelastung"))->trigger();
    window.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("8.25"));
    QSignalSpy confirmed(&window, &MainWindow::exitConfirmed);

    if (byTitleBar)
        QVERIFY(!window.close());
    else
        action(window, QStringLiteral("mnubeenden"))->trigger();

    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(messages.shown[0].text, OfferText);
    QCOMPARE(messages.shown[1].title, ExitTitle);
    QCOMPARE(messages.shown[1].text, ExitText);
    QCOMPARE(messages.shown[1].icon, MsgIcon::Warning);
    QCOMPARE(messages.shown[1].buttons, MsgButtons::OkCancel);
    QCOMPARE(confirmed.count(), 0);
    QVERIFY(window.isVisible());
    QVERIFY(window.loadDialog()->isVisible());
    QCOMPARE(window.dimensionsDialog()->lengthText(LengthL1), QStringLiteral("8.25"));
}

void TestMainWindow::exitConfirmed_data()
{
    exitCancelled_data();
}

void TestMainWindow::exitConfirmed()
{
    QFETCH(bool, byTitleBar);

    MessageRecorder messages;
    MainWindow window;
    window.show();
    action(window, QStringLiteral("mnubelastung"))->trigger();
    action(window, QStringLiteral("mnuprojekt"))->trigger();
    QSignalSpy confirmed(&window, &MainWindow::exitConfirmed);

    if (byTitleBar)
        QVERIFY(window.close());
    else
        action(window, QStringLiteral("mnubeenden"))->trigger();

    // Asked once, not again by the closing of the windows.
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, ExitTitle);
    QCOMPARE(confirmed.count(), 1);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.loadDialog()->isVisible());
    QVERIFY(!window.projectInfoDialog()->isVisible());
}

void TestMainWindow::resultsRefused_data()
{
    QTest::addColumn<QString>("L1");
    QTest::addColumn<bool>("openedBefore");

    QTest::newRow("L1 0, first use") << "0" << false;
    QTest::newRow("L1 0.00, first use") << "0.00" << false;
    // An open window is discarded: its numbers belong to the earlier system.
    QTest::newRow("L1 0, window open") << "0" << true;
}

void TestMainWindow::resultsRefused()
{
    QFETCH(QString, L1);
    QFETCH(bool, openedBefore);

    MessageRecorder messages;
    MainWindow window;
    window.show();
    QString linesBefore;
    if (openedBefore) {
        action(window, QStringLiteral("mnuergebnisse"))->trigger();
        QVERIFY(window.resultsWindow());
        linesBefore = window.resultsWindow()->resultText(8);
        messages.shown.clear();
    }
    window.dimensionsDialog()->setLengthText(LengthL1, L1);
    const ResultSet resultsBefore = window.session().results;

    action(window, QStringLiteral("mnuergebnisse"))->trigger();

    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Warnung"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
    QCOMPARE(messages.shown[0].buttons, MsgButtons::Ok);
    QVERIFY(!messages.shown[0].text.isEmpty());
    QCOMPARE(window.session().results.Are, resultsBefore.Are);
    QVERIFY(!window.resultsWindow());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.findChildren<ResultsWindow *>().isEmpty());
}

void TestMainWindow::refusedRunDiscardsOpenResults_data()
{
    QTest::addColumn<QStringList>("lengths");   // L1, L2, L3
    QTest::addColumn<bool>("print");

    const QList<QStringList> systems = {{"0", "6", "5"}, {"6", "0", "5"}, {"-6", "6", "0"}, {"1e-300", "6", "5"}};
    for (const QStringList &lengths : systems) {
        const QString name = lengths.join(QStringLiteral(", "));
        QTest::addRow("results, %s", qPrintable(name)) << lengths << false;
        QTest::addRow("print, %s", qPrintable(name)) << lengths << true;
    }
}

// A refused results or print command leaves no number of an earlier system
// on screen: the open results window goes, as by its "OK".
void TestMainWindow::refusedRunDiscardsOpenResults()
{
    QFETCH(QStringList, lengths);
    QFETCH(bool, print);

    MessageRecorder messages;
    MainWindow window;
    window.show();
    action(window, QStringLiteral("mnuergebnisse"))->trigger();
    QPointer<ResultsWindow> results = window.resultsWindow();
    QVERIFY(results && results->isVisible());
    QSignalSpy discarded(results.data(), &ResultsWindow::discarded);
    for (int i = 0; i < lengths.size(); ++i)
        window.dimensionsDialog()->setLengthText(i, lengths[i]);
    messages.shown.clear();

    action(window, print ? QStringLiteral("mnudrucken") : QStringLiteral("mnuergebnisse"))->trigger();

    QCOMPARE(messages.shown.last().title, QStringLiteral("Warnung"));
    QCOMPARE(discarded.count(), 1);
    QVERIFY(!window.resultsWindow());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!results);

    // The next sound run builds a new window with the current numbers.
    window.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("6"));
    window.dimensionsDialog()->setLengthText(LengthL2, QStringLiteral("6"));
    action(window, QStringLiteral("mnuergebnisse"))->trigger();
    QVERIFY(window.resultsWindow() && window.resultsWindow()->isVisible());
}

void TestMainWindow::resultsRecomputeWhileOpen()
{
    MessageRecorder messages;
    MainWindow window;
    window.show();
    QVERIFY(window.runAnalysis());
    ResultsWindow *results = window.resultsWindow();
    QVERIFY(results);
    QVERIFY(!results->isVisible());   // the analysis alone does not show it

    action(window, QStringLiteral("mnuergebnisse"))->trigger();
    QCOMPARE(window.resultsWindow(), results);
    QVERIFY(results->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
    const double areBefore = window.session().results.Are;
    const QString lineBefore = results->resultText(8);   // "Querkraft  Are = "
    QVERIFY(lineBefore.startsWith(QStringLiteral("Querkraft  Are = ")));
    QVERIFY(!results->picture()->items().empty());

    // Heavier load, window still open: the command computes again.
    window.loadDialog()->setUniformText(Span1, LoadQ, QStringLiteral("5"));
    action(window, QStringLiteral("mnuergebnisse"))->trigger();
    QCOMPARE(window.resultsWindow(), results);
    QVERIFY(window.session().results.Are > areBefore);
    QVERIFY(results->resultText(8) != lineBefore);
    QVERIFY(messages.shown.isEmpty());
}

// A load left in the rows of a cantilever set back to 0 does not act; the
// results command says so in a warning and still shows the results.
void TestMainWindow::loadThatDoesNotActIsNamed()
{
    MessageRecorder messages;
    MainWindow window;
    window.show();
    window.dimensionsDialog()->setLengthText(LengthRight, QStringLiteral("1.50"));
    window.loadDialog()->setForceText(24, QStringLiteral("5"));
    window.loadDialog()->setDistanceText(24, QStringLiteral("1.5"));
    window.dimensionsDialog()->setLengthText(LengthRight, QStringLiteral("0.00"));
    QVERIFY(messages.shown.isEmpty());

    action(window, QStringLiteral("mnuergebnisse"))->trigger();
    QCOMPARE(messages.titles(), QStringList{QStringLiteral("Warnung")});
    QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
    QVERIFY2(messages.shown[0].text.contains(
                 QStringLiteral("Nr. 1 im rechten Kragarm (F = 5,00 kN, a = 1,50 m) wirkt nicht")),
             qPrintable(messages.shown[0].text));
    QVERIFY(window.resultsWindow() && window.resultsWindow()->isVisible());
    QCOMPARE(window.session().results.Dre, 0.0);
}

void TestMainWindow::projectTextsFollowTheWindows()
{
    MessageRecorder messages;
    MainWindow window;
    window.dimensionsDialog()->setLengthText(LengthRight, QStringLiteral("1.25"));
    window.loadDialog()->setUniformText(RightCantilever, LoadS, QStringLiteral("0.75"));
    window.loadDialog()->setForceText(9, QStringLiteral("15"));
    window.loadDialog()->setDistanceText(9, QStringLiteral("2.5"));
    window.materialDialog()->setTimberGrade(4);
    window.materialDialog()->setSteelGrade(2);

    const ProjectTexts texts = window.projectTexts();
    QCOMPARE(texts.lengths[LengthRight], QStringLiteral("1.25"));
    QCOMPARE(texts.uniform[RightCantilever - 1][LoadS], QStringLiteral("0.75"));
    QCOMPARE(texts.force[9], QStringLiteral("15"));
    QCOMPARE(texts.distance[9], QStringLiteral("2.5"));
    QCOMPARE(texts.timberGrade, 4);
    QCOMPARE(texts.steelGrade, 2);
    QCOMPARE(window.timberValues(), window.materialDialog()->timberValues());
    QCOMPARE(window.steelValues(), window.materialDialog()->steelValues());
    QVERIFY(!window.timberValues().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_ui_mainwindow.moc"
