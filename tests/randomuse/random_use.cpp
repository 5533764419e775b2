// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// varno-random-use: the whole program used at random, the way a person might.
//
// Starts the real main window headless, answers every message box and file
// dialog at random from the seed, and performs seeded random user actions
// until the time is up: menu commands by menu and by keyboard, system
// commands, New, random texts typed or pasted into the fields of every
// window, the "für alle Felder gleich?" boxes, tabs, grades and series, the
// picture buttons, windows opened and closed by OK, Escape and the title bar,
// printing to PDF files and Save and Open in a temporary folder, of .lof
// files and of Varno project files with the menu "Projekt" and the offer to
// save changes; the window "Nachweis nach Eurocode" with its inputs, its
// report and its closing.
//
// After every action it checks what the user would see: no "inf" or "nan"
// anywhere on screen, finite picture coordinates, an open results window
// that shows the results of its last command (and none after a refused one),
// a results window that fits a 1280 x 1024 screen, an Eurocode window that
// shows the utilisations of a fresh check (or "–" while an input of it
// cannot be read), fields that read the same
// numbers after a Save followed by an Open, a Varno project file that gives
// back the same state, a title bar that marks unsaved changes exactly when
// there are some, and no window waiting for input nobody can give. A failure prints the seed, the step and the action log;
// the same seed (and --steps) replays it exactly.
//
//   varno-random-use [--seed N] [--seconds S] [--steps N] [--verbose]
//
// Exit status: 0 no fault found, 1 an invariant failed, 2 usage error,
// 3 the program stopped making progress.

#include "analysis/analysis.h"
#include "app/aboutwindow.h"
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/projectcommands.h"
#include "widgets/messages.h"
#include "model/projectmodel.h"
#include "session/session.h"
#include "results/resultswindow.h"
#include "results/systemschematic.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "dialogs/materialdialog.h"
#include "dialogs/projectinfodialog.h"
#include "widgets/picturearea.h"
#include "app/filedialogs.h"
#include "app/ecprintcommand.h"
#include "app/printcommand.h"
#include "presentation/ecpresentation.h"
#include "results/eurocodewindow.h"
#include "app/projectfilecommands.h"
#include "io/projectdocument.h"
#include "presentation/captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

using namespace varno;

namespace {

// What the last results or print command left behind: the texts it computed
// with, the results that were current before it (the zero-shear positions
// carry over between runs) and whether it was refused.
struct ResultsCommand
{
    bool happened = false;
    bool refused = false;
    ProjectTexts texts;
    ResultSet before;
};

class Fault : public std::exception
{
public:
    explicit Fault(QString what) : m_what(std::move(what)) {}
    const QString &text() const { return m_what; }
    const char *what() const noexcept override { return "fault"; }

private:
    QString m_what;
};

// Log shared with the watchdog thread, which prints it when the program hangs.
std::mutex g_logMutex;
QStringList g_log;
std::atomic<long> g_step{0};
quint64 g_seed = 0;

void printLog(FILE *out, int lastLines)
{
    std::lock_guard<std::mutex> lock(g_logMutex);
    const int first = lastLines > 0 ? std::max(0, int(g_log.size()) - lastLines) : 0;
    if (first > 0)
        std::fprintf(out, "... %d earlier actions (all of them: --verbose)\n", first);
    for (int i = first; i < g_log.size(); ++i)
        std::fprintf(out, "%s\n", qPrintable(g_log[i]));
}

class RandomUse
{
public:
    RandomUse(quint64 seed, QString folder) : m_random(seed), m_folder(std::move(folder)) {}

    void start();
    void step();
    long actions() const { return m_actions; }

private:
    // Random choices.
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_random) < p; }
    QString randomText();
    QString randomPath(const QString &suffix);

    void log(const QString &line);
    void fail(const QString &why) { throw Fault(why); }

    // The actions.
    void createMainWindow();
    void menuCommand();
    void keyboardCommand();
    void typeIntoField();
    void toggleSameForAll();
    void switchTab();
    void chooseInCombo();
    void pictureButton();
    void closeWindow();
    void saveThenOpen();
    void fileCommand();

    // The checks after every action.
    void checkInvariants();
    void checkTexts();
    void checkPictures();
    void checkResults();
    void checkResultsWindowSize();
    void checkEurocode();
    void prepareEurocode();
    PrinterSource randomPrinter();
    void printEurocode();

    QList<QWidget *> windows() const;
    QList<QLineEdit *> fields(bool visibleOnly) const;

    std::mt19937_64 m_random;
    QString m_folder;
    std::unique_ptr<MainWindow> m_main;
    ResultsCommand m_lastResults;
    // Set when "&Ergebnisse" ran or "Drucker vorbereiten?" was answered
    // with OK, in whatever way the step got there.
    bool m_resultsCommandRan = false;
    long m_actions = 0;
    int m_files = 0;
    QStringList m_savedFiles;
};

void RandomUse::log(const QString &line)
{
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_log << QStringLiteral("%1: %2").arg(g_step.load()).arg(line);
}

QString RandomUse::randomText()
{
    // Letters avoid "i" and "n", so that a field never shows "inf" or "nan"
    // because it was typed.
    static const QString alphabet = QStringLiteral("0123456789+-.,eEdD xyzäb\t");
    static const QStringList fixed = {
        QString(), QStringLiteral("0"), QStringLiteral("1e308"), QStringLiteral("-1e308"),
        QStringLiteral("1e-308"), QStringLiteral("-1e-308"), QStringLiteral("1E400"), QStringLiteral("-1e999"),
        QStringLiteral("1e-400"), QStringLiteral("1e-300"), QStringLiteral("1e200"), QStringLiteral("-6"),
        QStringLiteral("2,5"), QStringLiteral("6.00"), QStringLiteral("0.00"), QStringLiteral("5"),
        QStringLiteral("12.5"), QStringLiteral("-"), QStringLiteral("."), QStringLiteral("1e"),
        QStringLiteral(" 3 "), QStringLiteral("4.9E-324"), QStringLiteral("1.7976931348623157e308"),
        QStringLiteral("xyz"), QStringLiteral("0.5"), QStringLiteral("3"), QStringLiteral("10"),
        QStringLiteral("1D3"), QStringLiteral("+7.25"), QStringLiteral("2.00")};
    switch (pick(6)) {
    case 0:
    case 1:
        return fixed[pick(int(fixed.size()))];
    case 2: {
        // A plain number of modest size.
        QString out = chance(0.2) ? QStringLiteral("-") : QString();
        out += QString::number(pick(100));
        if (chance(0.6))
            out += u'.' + QString::number(pick(100));
        if (chance(0.15))
            out += QStringLiteral("e") + QString::number(pick(40) - 20);
        return out;
    }
    case 3: {
        // Very long: hundreds of digits, sometimes with an exponent.
        QString out = chance(0.5) ? QStringLiteral("0.") : QStringLiteral("1");
        out += QString(50 + pick(600), chance(0.5) ? u'0' : u'9');
        if (chance(0.5))
            out += QStringLiteral("1e-10");
        return out;
    }
    default: {
        QString out;
        const int length = pick(12);
        for (int i = 0; i < length; ++i)
            out += alphabet[pick(int(alphabet.size()))];
        return out;
    }
    }
}

QString RandomUse::randomPath(const QString &suffix)
{
    if (!m_savedFiles.isEmpty() && chance(0.4))
        return m_savedFiles[pick(int(m_savedFiles.size()))];
    return QDir(m_folder).filePath(QStringLiteral("f%1.%2").arg(++m_files % 20).arg(suffix));
}

void RandomUse::start()
{
    SetMessageHandler([this](const ShownMessage &message) {
        MsgResult answer = message.buttons == MsgButtons::OkCancel && chance(0.4) ? MsgResult::Cancel : MsgResult::Ok;
        if (message.buttons == MsgButtons::SaveDiscardCancel) {
            const MsgResult answers[] = {MsgResult::Save, MsgResult::Discard, MsgResult::Cancel};
            answer = answers[pick(3)];
        }
        if (message.text == QLatin1String("Drucker vorbereiten?") && answer == MsgResult::Ok)
            m_resultsCommandRan = true;
        const QString said = answer == MsgResult::Ok       ? QStringLiteral("OK")
                             : answer == MsgResult::Save    ? QStringLiteral("Speichern")
                             : answer == MsgResult::Discard ? QStringLiteral("Verwerfen")
                                                            : QStringLiteral("Abbrechen");
        log(QStringLiteral("  box \"%1\": %2 -> %3")
                .arg(message.title, QString(message.text).replace(QLatin1String("\r\n"), QLatin1String(" ")).left(90), said));
        return answer;
    });
    SetFileNameHandler([this](const FileRequest &request) {
        QString answer;
        if (!chance(0.15))
            answer = randomPath(request.defaultSuffix.isEmpty() ? QStringLiteral("lof") : request.defaultSuffix);
        log(QStringLiteral("  file dialog \"%1\": %2").arg(request.title, answer.isEmpty() ? QStringLiteral("cancelled")
                                                                                          : QFileInfo(answer).fileName()));
        return answer;
    });
    createMainWindow();
}

void RandomUse::createMainWindow()
{
    m_main = std::make_unique<MainWindow>();
    m_main->show();
    m_main->activateWindow();
    m_lastResults = {};
    QObject::connect(m_main->findChild<QAction *>(QStringLiteral("mnuergebnisse")), &QAction::triggered, m_main.get(),
                     [this] { m_resultsCommandRan = true; });
    auto *print = m_main->findChild<PrintCommand *>();
    print->setPrinterSource(randomPrinter());
}

// No printer half the time, so the command offers a PDF file; else a
// printer that writes a PDF file of a random name.
PrinterSource RandomUse::randomPrinter()
{
    return [this]() -> std::unique_ptr<QPrinter> {
        if (chance(0.5)) {
            log(QStringLiteral("  printer: none"));
            return nullptr;
        }
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        const QString path = randomPath(QStringLiteral("pdf"));
        printer->setOutputFileName(path);
        log(QStringLiteral("  printer: PDF %1").arg(QFileInfo(path).fileName()));
        return printer;
    };
}

QList<QWidget *> RandomUse::windows() const
{
    QList<QWidget *> out;
    out << m_main->dimensionsDialog() << m_main->loadDialog() << m_main->materialDialog()
        << m_main->projectInfoDialog();
    if (m_main->resultsWindow())
        out << m_main->resultsWindow();
    if (m_main->aboutWindow())
        out << m_main->aboutWindow();
    if (m_main->eurocodeWindow())
        out << m_main->eurocodeWindow();
    return out;
}

QList<QLineEdit *> RandomUse::fields(bool visibleOnly) const
{
    QList<QLineEdit *> out;
    for (QWidget *window : windows())
        for (QLineEdit *field : window->findChildren<QLineEdit *>())
            if (!visibleOnly || field->isVisible())
                out << field;
    return out;
}

void RandomUse::menuCommand()
{
    static const char *const names[] = {"mnuneu", "mnudrucken", "mnueinfeld", "mnuzweifeld", "mnudreifeld",
                                        "mnubelastung", "mnuholz", "mnustahl", "mnuergebnisse", "mnuprojekt",
                                        "mnuhilfe", "mnuinfo", "mnubeenden", "mnueurocode", "mnueurocode",
                                        "mnuprojektoeffnen", "mnuprojektspeichern", "mnuprojektspeichernunter",
                                        "mnuprojektexport", "mnuzuletzt1", "mnuzuletzt2"};
    const QString name = QString::fromLatin1(names[pick(int(std::size(names)))]);
    QAction *action = m_main->findChild<QAction *>(name);
    // The files opened last are there once files were opened.
    if (!action && name.startsWith(QLatin1String("mnuzuletzt")))
        return;
    if (!action)
        fail(QStringLiteral("menu item %1 missing").arg(name));
    log(QStringLiteral("menu %1").arg(name));
    action->trigger();
}

void RandomUse::keyboardCommand()
{
    struct Key
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *what;
    };
    static const Key keys[] = {
        {Qt::Key_P, Qt::ControlModifier, "Ctrl+P"},  {Qt::Key_E, Qt::AltModifier, "Alt+E"},
        {Qt::Key_B, Qt::AltModifier, "Alt+B"},       {Qt::Key_P, Qt::AltModifier, "Alt+P"},
        {Qt::Key_S, Qt::ControlModifier, "Ctrl+S"},  {Qt::Key_O, Qt::ControlModifier, "Ctrl+O"},
        {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},  {Qt::Key_D, Qt::AltModifier, "Alt+D, keys"},
        {Qt::Key_S, Qt::AltModifier, "Alt+S, keys"}, {Qt::Key_M, Qt::AltModifier, "Alt+M, keys"},
        {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+S"},
        {Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+O"},
        {Qt::Key_J, Qt::AltModifier, "Alt+J, keys"},
    };
    const Key &k = keys[pick(int(std::size(keys)))];
    m_main->activateWindow();
    QApplication::setActiveWindow(m_main.get());
    log(QStringLiteral("key %1 in the main window").arg(QLatin1String(k.what)));
    QTest::keyClick(m_main.get(), k.key, k.modifiers);
    // A menu opened from the keyboard: walk down its items and take one, or
    // leave it with Escape. Results and print are not in these menus.
    if (QWidget *popup = QApplication::activePopupWidget()) {
        const int downs = pick(4);
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(popup, Qt::Key_Down);
        const bool take = chance(0.7);
        log(QStringLiteral("  menu: %1 x down, %2").arg(downs).arg(take ? QStringLiteral("Return")
                                                                        : QStringLiteral("Escape")));
        QTest::keyClick(popup, take ? Qt::Key_Return : Qt::Key_Escape);
    }
}

void RandomUse::typeIntoField()
{
    const QList<QLineEdit *> candidates = fields(chance(0.85));
    if (candidates.isEmpty())
        return;
    QLineEdit *field = candidates[pick(int(candidates.size()))];
    const QString where = field->window()->objectName() + u'/' + field->objectName();
    QPointer<QLineEdit> guard(field);
    const QString text = randomText();
    switch (pick(4)) {
    case 0:
        // Keystroke by keystroke: every one is a change with its rules.
        log(QStringLiteral("type \"%1\" into %2 (after select all)").arg(text.left(60), where));
        field->selectAll();
        for (QChar c : text.left(30)) {
            if (!guard)
                break;
            if (c.unicode() < 128)
                QTest::keyClick(field, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        }
        break;
    case 1:
        log(QStringLiteral("paste \"%1\" (%2 chars) into %3").arg(text.left(60)).arg(text.size()).arg(where));
        field->selectAll();
        field->insert(text);
        break;
    case 2:
        log(QStringLiteral("set \"%1\" (%2 chars) in %3").arg(text.left(60)).arg(text.size()).arg(where));
        field->setText(text);
        break;
    default: {
        const int count = 1 + pick(4);
        log(QStringLiteral("%1 x backspace in %2").arg(count).arg(where));
        field->end(false);
        for (int i = 0; i < count && guard; ++i)
            QTest::keyClick(field, Qt::Key_Backspace);
        break;
    }
    }
}

void RandomUse::toggleSameForAll()
{
    const int k = pick(LoadTypeCount);
    auto *box = m_main->loadDialog()->findChild<QCheckBox *>(QStringLiteral("Check%1").arg(k + 1));
    log(QStringLiteral("click Form3/Check%1 (%2)").arg(k + 1).arg(box->isChecked() ? "set" : "cleared"));
    box->click();
}

void RandomUse::switchTab()
{
    auto *tabs = m_main->loadDialog()->findChild<QTabBar *>(QStringLiteral("TabStrip1"));
    if (tabs->isVisible() && chance(0.3)) {
        static const struct
        {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char *what;
        } keys[] = {{Qt::Key_Tab, Qt::ControlModifier, "Ctrl+Tab"},
                    {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Tab"},
                    {Qt::Key_PageDown, Qt::ControlModifier, "Ctrl+PgDown"},
                    {Qt::Key_PageUp, Qt::ControlModifier, "Ctrl+PgUp"}};
        const auto &k = keys[pick(4)];
        log(QStringLiteral("key %1 in Form3").arg(QLatin1String(k.what)));
        QWidget *target = QApplication::focusWidget() && QApplication::focusWidget()->window() == tabs->window()
            ? QApplication::focusWidget()
            : tabs->window();
        QTest::keyClick(target, k.key, k.modifiers);
        return;
    }
    const int index = pick(tabs->count());
    if (tabs->isVisible()) {
        log(QStringLiteral("click tab %1 of Form3").arg(index + 1));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    } else {
        log(QStringLiteral("select tab %1 of the hidden Form3").arg(index + 1));
        tabs->setCurrentIndex(index);
    }
}

void RandomUse::chooseInCombo()
{
    QList<QComboBox *> combos;
    combos << m_main->materialDialog()->findChild<QComboBox *>(QStringLiteral("Combo1"))
           << m_main->materialDialog()->findChild<QComboBox *>(QStringLiteral("Combo2"));
    if (ResultsWindow *results = m_main->resultsWindow())
        combos << results->findChild<QComboBox *>(QStringLiteral("Combo1"));
    if (EurocodeWindow *eurocode = m_main->eurocodeWindow(); eurocode && eurocode->isVisible())
        combos << eurocode->findChildren<QComboBox *>();
    QComboBox *combo = combos[pick(int(combos.size()))];
    const QString where = combo->window()->objectName() + u'/' + combo->objectName();
    if (chance(0.5)) {
        static const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End};
        const Qt::Key key = keys[pick(4)];
        log(QStringLiteral("key %1 in %2").arg(QKeySequence(key).toString(), where));
        QTest::keyClick(combo, key);
    } else {
        // A choice from the open list, which may be the item already chosen.
        const int index = pick(combo->count());
        log(QStringLiteral("choose item %1 of %2").arg(index).arg(where));
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
}

void RandomUse::pictureButton()
{
    ResultsWindow *results = m_main->resultsWindow();
    if (!results)
        return;
    static const char *const names[] = {"Command4", "Command5", "Command6", "Command2"};
    const QString name = QString::fromLatin1(names[pick(4)]);
    log(QStringLiteral("click Form5/%1").arg(name));
    results->findChild<QPushButton *>(name)->click();
}

void RandomUse::closeWindow()
{
    QList<QWidget *> candidates = windows();
    QWidget *window = candidates[pick(int(candidates.size()))];
    if (chance(0.15))
        window = m_main.get();
    const QString name = window->objectName();
    QPointer<QWidget> guard(window);
    switch (pick(4)) {
    case 0: {
        QPushButton *ok = window->findChild<QPushButton *>(QStringLiteral("Command1"));
        if (!ok)
            ok = window->findChild<QPushButton *>(QStringLiteral("cmdOK"));
        if (!ok)
            ok = window->findChild<QPushButton *>(QStringLiteral("cmdSchliessen"));
        if (!ok)
            return;
        log(QStringLiteral("click OK of %1").arg(name));
        ok->click();
        break;
    }
    case 1:
        log(QStringLiteral("Escape in %1").arg(name));
        QTest::keyClick(window, Qt::Key_Escape);
        break;
    case 2:
        log(QStringLiteral("title-bar close of %1").arg(name));
        window->close();
        break;
    default:
        log(QStringLiteral("show %1").arg(name));
        window->show();
        break;
    }
}

void RandomUse::saveThenOpen()
{
    if (chance(0.5)) {
        // A Varno project file gives back the whole state, every text as it was.
        ProjectCommands *project = m_main->projectCommands();
        const QString path = QDir(m_folder).filePath(QStringLiteral("roundtrip%1.varno").arg(pick(3)));
        const ProjectState before = project->currentState();
        log(QStringLiteral("save the project to %1, then open it").arg(QFileInfo(path).fileName()));
        QFile::remove(path);
        if (!project->saveTo(path))
            fail(QStringLiteral("Saving the project to %1 failed").arg(path));
        if (project->isModified())
            fail(QStringLiteral("the project just saved has unsaved changes"));
        if (!project->openFileNow(path))
            fail(QStringLiteral("Opening the project just saved failed"));
        const ProjectState after = project->currentState();
        if (!(after == before))
            fail(QStringLiteral("Save and Open of the project changed its state:\n%1\n%2")
                     .arg(QString::fromUtf8(ProjectDocumentBytes(before)), QString::fromUtf8(ProjectDocumentBytes(after))));
        m_savedFiles << path;
        return;
    }
    auto *commands = m_main->findChild<ProjectFileCommands *>();
    const QString path = QDir(m_folder).filePath(QStringLiteral("roundtrip%1.lof").arg(pick(3)));
    const ProjectTexts before = m_main->projectTexts();
    log(QStringLiteral("save to %1, then open it").arg(QFileInfo(path).fileName()));
    QFile::remove(path);
    if (!commands->saveProjectTo(path))
        fail(QStringLiteral("Save to %1 failed").arg(path));
    if (!commands->openProjectFrom(path))
        fail(QStringLiteral("Open of the file just saved failed"));
    const ProjectTexts after = m_main->projectTexts();

    // Numbers are written as typed, or with 15 significant digits; a number
    // beyond the double range comes back as 0.
    auto same = [](double a, double b) {
        if (!std::isfinite(a))
            return b == 0.0;
        return a == b || std::fabs(a - b) <= 1e-14 * std::max(std::fabs(a), std::fabs(b));
    };
    auto compare = [&](const QString &what, const QString &a, const QString &b) {
        if (!same(LeadingNumber(a), LeadingNumber(b)))
            fail(QStringLiteral("Save and Open changed %1 from \"%2\" to \"%3\"").arg(what, a.left(80), b.left(80)));
    };
    for (int i = 0; i < RegionCount; ++i)
        compare(QStringLiteral("length %1").arg(i), before.lengths[i], after.lengths[i]);
    for (int r = 0; r < RegionCount; ++r)
        for (int k = 0; k < LoadTypeCount; ++k)
            compare(QStringLiteral("uniform load %1/%2").arg(r + 1).arg(k), before.uniform[r][k], after.uniform[r][k]);
    for (int s = 0; s < PointLoadSlotCount; ++s) {
        compare(QStringLiteral("force %1").arg(s), before.force[s], after.force[s]);
        compare(QStringLiteral("distance %1").arg(s), before.distance[s], after.distance[s]);
    }
    if (before.timberGrade != after.timberGrade || before.steelGrade != after.steelGrade)
        fail(QStringLiteral("Save and Open changed the grades"));
    m_savedFiles << path;
}

void RandomUse::fileCommand()
{
    auto *commands = m_main->findChild<ProjectFileCommands *>();
    if (chance(0.5)) {
        log(QStringLiteral("Speichern"));
        commands->save();
    } else {
        log(QStringLiteral("Öffnen"));
        commands->open();
    }
}

void RandomUse::step()
{
    ++g_step;
    ++m_actions;
    // What a results or print command of this step computes with.
    ResultsCommand attempt;
    attempt.texts = m_main->projectTexts();
    attempt.before = m_main->session().results;
    m_resultsCommandRan = false;
    prepareEurocode();
    switch (pick(21)) {
    case 0:
    case 1:
    case 2:
        menuCommand();
        break;
    case 3:
        keyboardCommand();
        break;
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
        typeIntoField();
        break;
    case 9:
        toggleSameForAll();
        break;
    case 10:
        switchTab();
        break;
    case 11:
        chooseInCombo();
        break;
    case 12:
        pictureButton();
        break;
    case 13:
    case 14:
        closeWindow();
        break;
    case 15:
        saveThenOpen();
        break;
    case 16:
        fileCommand();
        break;
    case 18:
        printEurocode();
        break;
    case 17:
        log(QStringLiteral("menu mnuergebnisse"));
        m_main->findChild<QAction *>(QStringLiteral("mnuergebnisse"))->trigger();
        break;
    default:
        QApplication::processEvents();
        break;
    }
    // A popup left open by a keyboard command would take the next actions.
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    QApplication::processEvents();

    if (m_resultsCommandRan) {
        ResultSet probe = attempt.before;
        attempt.refused = RunAnalysis(attempt.texts, probe).refused;
        attempt.happened = true;
        m_lastResults = attempt;
    }

    if (m_main->isHidden()) {
        // "Beenden" answered with OK closed every window: start afresh, as
        // the next run of the program would.
        log(QStringLiteral("  the program ended; starting it again"));
        m_main.reset();
        createMainWindow();
    }
    checkInvariants();
}

void RandomUse::checkInvariants()
{
    // The title bar marks unsaved changes exactly when there are some.
    QApplication::processEvents();
    if (m_main->windowTitle().contains(u'*') != m_main->projectCommands()->isModified())
        fail(QStringLiteral("the title \"%1\" does not match the project, which %2 unsaved changes")
                 .arg(m_main->windowTitle(), m_main->projectCommands()->isModified() ? "has" : "has no"));
    checkTexts();
    checkPictures();
    checkResults();
    checkResultsWindowSize();
    checkEurocode();
}

// The report of the Eurocode window goes to a PDF file, by a printer or by
// the offer made when there is none.
void RandomUse::prepareEurocode()
{
    EurocodeWindow *window = m_main->eurocodeWindow();
    if (!window || window->property("randomUsePrinter").toBool())
        return;
    window->setProperty("randomUsePrinter", true);
    window->findChild<EcPrintCommand *>()->setPrinterSource(randomPrinter());
}

void RandomUse::printEurocode()
{
    EurocodeWindow *window = m_main->eurocodeWindow();
    if (!window || !window->isVisible())
        return;
    log(QStringLiteral("click frmEurocode/cmdDrucken (%1)")
            .arg(window->printButton()->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled")));
    window->printButton()->click();
    // It asks "Drucker vorbereiten?" too, but runs no analysis of the
    // results window.
    m_resultsCommandRan = false;
}

void RandomUse::checkEurocode()
{
    EurocodeWindow *window = m_main->eurocodeWindow();
    if (!window || !window->isVisible())
        return;
    const QSize size = window->frameGeometry().size();
    if (size.width() > 1280 || size.height() > 1024)
        fail(QStringLiteral("the Eurocode window is %1 x %2 pixels").arg(size.width()).arg(size.height()));
    const auto shown = [&](const QString &check) {
        const QString name = check + QStringLiteral(" Ausnutzung");
        for (QLabel *label : window->findChildren<QLabel *>())
            if (label->accessibleName() == name)
                return label->text();
        fail(QStringLiteral("the Eurocode window has no label \"%1\"").arg(name));
        return QString();
    };
    static const char *const timberNames[] = {"Biegung", "Schub", "Durchbiegung w_inst", "Durchbiegung w_fin",
                                              "Durchbiegung w_net,fin"};
    static const char *const steelNames[] = {"Biegung", "Querkraft", "Biegung mit Querkraft", "Durchbiegung"};
    ec::RunInputs inputs;
    const bool readable = window->readInputs(inputs);
    if (!window->hasResult()) {
        for (const char *name : timberNames)
            if (shown(QStringLiteral("Holz ") + QString::fromUtf8(name)) != QStringLiteral("\u2013"))
                fail(QStringLiteral("the Eurocode window shows a utilisation without a check"));
        return;
    }
    if (!readable)
        fail(QStringLiteral("the Eurocode window shows utilisations of an input it cannot read"));
    // A fresh check from the files and the texts as they are now.
    std::vector<ec::DataProblem> problems;
    const ec::Data data = ec::ReadData(m_main->dataDirectory(), problems);
    const ProjectTexts texts = m_main->projectTexts();
    const ec::RunOutput fresh = ec::RunEurocode(texts, data, inputs, false);
    bool limitsFromFile = true;
    for (int i = 0; i < ec::LimitCount; ++i)
        limitsFromFile = limitsFromFile && inputs.limits[i] == ec::DataLimit(data, i);
    // With the file's limits the check of varno-calc gives the same numbers.
    const ec::CheckResult core = limitsFromFile ? ec::RunCheck(texts, data, inputs.options) : fresh.result;
    // Both presented as the window presents its run.
    EcRun freshRun;
    freshRun.inputs = inputs;
    freshRun.output = fresh;
    freshRun.ran = true;
    EcRun coreRun = freshRun;
    coreRun.output.result = core;
    const QLocale locale;
    const EcPresentation expected = PresentEurocode(freshRun, locale);
    const EcPresentation alsoExpected = PresentEurocode(coreRun, locale);
    const struct
    {
        const char *id, *label;
        const char *const *names;
        int count;
        bool wanted;
    } members[] = {{"timber", "Holz ", timberNames, 5, inputs.options.timber},
                   {"steel", "Stahl ", steelNames, 4, inputs.options.steel}};
    for (const auto &m : members) {
        const EcMember *one = expected.member(QLatin1String(m.id));
        const EcMember *other = alsoExpected.member(QLatin1String(m.id));
        if (!m.wanted || !one || !other || !one->checked)
            continue;
        for (int i = 0; i < m.count; ++i) {
            const QString name = QLatin1String(m.label) + QString::fromUtf8(m.names[i]);
            const QString text = one->checks[i].utilisationText;
            if (shown(name) != text)
                fail(QStringLiteral("%1 shows \"%2\" where a fresh check gives \"%3\"").arg(name, shown(name), text));
            if (other->checks[i].utilisationText != text)
                fail(QStringLiteral("%1: the window's check and the core's differ").arg(name));
        }
    }
}

bool showsBrokenNumber(const QString &text)
{
    static const QRegularExpression broken(QStringLiteral("(?<![A-Za-zÄÖÜäöüß])[-+]?(inf|nan)(?![A-Za-zÄÖÜäöüß])"),
                                           QRegularExpression::CaseInsensitiveOption);
    return text.contains(QChar(0x221E)) || broken.match(text).hasMatch();
}

void RandomUse::checkTexts()
{
    QList<QWidget *> all = windows();
    all << m_main.get();
    for (QWidget *window : all) {
        if (!window->isVisible())
            continue;
        for (QLabel *label : window->findChildren<QLabel *>())
            if (label->isVisible() && showsBrokenNumber(label->text()))
                fail(QStringLiteral("%1/%2 shows \"%3\"").arg(window->objectName(), label->objectName(), label->text()));
        for (QLineEdit *field : window->findChildren<QLineEdit *>())
            if (field->isVisible() && showsBrokenNumber(field->text()))
                fail(QStringLiteral("%1/%2 shows \"%3\"").arg(window->objectName(), field->objectName(), field->text()));
    }
}

void RandomUse::checkPictures()
{
    auto finite = [](QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); };
    QList<PictureArea *> areas;
    for (QWidget *window : windows())
        areas << window->findChildren<PictureArea *>();
    for (PictureArea *area : areas) {
        for (const DisplayItem &item : area->items())
            if (!finite(item.a) || !finite(item.b)
                || std::any_of(item.points.begin(), item.points.end(), [&](QPointF p) { return !finite(p); }))
                fail(QStringLiteral("%1/%2 draws a line to a point that is not finite (item kind %3 from %4, %5)")
                         .arg(area->window()->objectName(), area->objectName())
                         .arg(int(item.kind))
                         .arg(item.a.x())
                         .arg(item.a.y()));
        for (const DisplayLabel &label : area->labelStates()) {
            if (!std::isfinite(label.left) || !std::isfinite(label.top) || !std::isfinite(label.width)
                || !std::isfinite(label.height))
                fail(QStringLiteral("%1: a picture label has a position that is not finite").arg(area->objectName()));
            if (label.visible && showsBrokenNumber(label.text))
                fail(QStringLiteral("%1: picture label shows \"%2\"").arg(area->objectName(), label.text));
        }
    }
    if (ResultsWindow *results = m_main->resultsWindow())
        if (auto *schematic = results->findChild<SystemSchematic *>())
            for (const QLineF &line : schematic->lineElements())
                if (!finite(line.p1()) || !finite(line.p2()))
                    fail(QStringLiteral("the schematic draws a line that is not finite"));
}

void RandomUse::checkResults()
{
    ResultsWindow *results = m_main->resultsWindow();
    if (!m_lastResults.happened || !results)
        return;
    if (m_lastResults.refused)
        fail(QStringLiteral("the results window is still open after a refused run; it shows numbers of an earlier "
                            "system"));
    ResultSet fresh = m_lastResults.before;
    const AnalysisOutcome outcome = RunAnalysis(m_lastResults.texts, fresh);
    const ResultLineTexts lines = ResultLines(fresh, outcome.spans, QLocale());
    for (int n = 0; n < ResultLineCount; ++n) {
        const QString expected = lines.visible[n] ? lines.lines[n] : QString();
        if (results->resultText(n) != expected)
            fail(QStringLiteral("result line %1 shows \"%2\" where the analysis gives \"%3\"")
                     .arg(n)
                     .arg(results->resultText(n), expected));
    }
}

void RandomUse::checkResultsWindowSize()
{
    ResultsWindow *results = m_main->resultsWindow();
    if (!results || !results->isVisible())
        return;
    const QSize size = results->frameGeometry().size();
    if (size.width() > 1280 || size.height() > 1024)
        fail(QStringLiteral("the results window is %1 x %2 pixels, more than a 1280 x 1024 screen")
                 .arg(size.width())
                 .arg(size.height()));
}

// The headless screen cannot raise windows or pass size hints on and says
// so each time a window is shown; thousands of such lines would bury what
// the run has to say.
QtMessageHandler g_previousHandler = nullptr;

void dropScreenNotices(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_previousHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    g_previousHandler = qInstallMessageHandler(dropScreenNotices);
    // Headless, on one screen of 1280 x 1024 pixels.
    QTemporaryDir screenFolder;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (screenFolder.isValid() && (platform.isEmpty() || platform == "offscreen")) {
        const QString config = screenFolder.filePath(QStringLiteral("screen.json"));
        QFile file(config);
        if (file.open(QIODevice::WriteOnly)
            && file.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1280, "height": 1024,)"
                          R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                > 0) {
            file.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
        }
    }
    QApplication app(argc, argv);
    PrepareApplication();

    quint64 seed = quint64(QDateTime::currentMSecsSinceEpoch());
    double seconds = 10;
    long maxSteps = -1;
    bool verbose = false;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            seed = args[++i].toULongLong(&ok);
        else if (args[i] == QLatin1String("--seconds") && i + 1 < args.size())
            seconds = args[++i].toDouble(&ok);
        else if (args[i] == QLatin1String("--steps") && i + 1 < args.size())
            maxSteps = args[++i].toLong(&ok);
        else if (args[i] == QLatin1String("--verbose"))
            verbose = true;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "usage: varno-random-use [--seed N] [--seconds S] [--steps N] [--verbose]\n");
            return 2;
        }
    }
    g_seed = seed;
    std::printf("varno-random-use: seed %llu, %.0f s\n", static_cast<unsigned long long>(seed), seconds);
    std::fflush(stdout);

    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 2;
    }

    // Whatever waits for input blocks the run: a modal window opened with
    // exec() runs its own event loop, in which this timer still fires.
    QTimer modalCheck;
    QObject::connect(&modalCheck, &QTimer::timeout, &app, [] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            std::fprintf(stderr, "FAULT (seed %llu, step %ld): the modal window \"%s\" (%s) waits for input\n",
                         static_cast<unsigned long long>(g_seed), g_step.load(),
                         qPrintable(modal->windowTitle()), modal->metaObject()->className());
            printLog(stderr, 200);
            std::fflush(stderr);
            std::_Exit(1);
        }
    });
    modalCheck.start(250);

    // A hang outside the event loop: no step for two minutes.
    std::atomic<bool> finished{false};
    std::thread watchdog([&finished] {
        long last = -1;
        auto since = std::chrono::steady_clock::now();
        while (!finished) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const long now = g_step.load();
            if (now != last) {
                last = now;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > std::chrono::minutes(2)) {
                std::fprintf(stderr, "FAULT (seed %llu, step %ld): no progress for two minutes\n",
                             static_cast<unsigned long long>(g_seed), now);
                printLog(stderr, 200);
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    });

    RandomUse use(seed, folder.path());
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    try {
        use.start();
        while (clock.elapsed() < seconds * 1000 && (maxSteps < 0 || g_step < maxSteps))
            use.step();
    } catch (const Fault &fault) {
        std::fprintf(stderr, "FAULT (seed %llu, step %ld): %s\n", static_cast<unsigned long long>(seed),
                     g_step.load(), qPrintable(fault.text()));
        std::fprintf(stderr, "action log:\n");
        printLog(stderr, verbose ? 0 : 300);
        std::fprintf(stderr, "replay: varno-random-use --seed %llu --steps %ld --verbose\n",
                     static_cast<unsigned long long>(seed), g_step.load());
        status = 1;
    }
    finished = true;
    watchdog.join();
    if (status == 0) {
        if (verbose)
            printLog(stdout, 0);
        std::printf("varno-random-use: seed %llu, %ld actions in %.1f s, no fault found\n",
                    static_cast<unsigned long long>(seed), use.actions(), clock.elapsed() / 1000.0);
    }
    SetMessageHandler({});
    SetFileNameHandler({});
    return status;
}
