// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/projectcommands.h"

#include "app/mainwindow.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "dialogs/materialdialog.h"
#include "dialogs/projectinfodialog.h"
#include "eurocode/ecdata.h"
#include "app/filedialogs.h"
#include "app/projectfilecommands.h"
#include "io/projectdocument.h"
#include "results/eurocodewindow.h"
#include "results/resultswindow.h"
#include "widgets/messages.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>

namespace varno {

namespace {

const QString OpenTitle = QStringLiteral("\u00D6ffnen");
const QString SaveTitle = QStringLiteral("Speichern");
const QString OpenFilter = QStringLiteral("Projektdateien (*.varno *.lof);;Varno-Projekte (*.varno);;"
                                          "Projektdateien im alten Format (*.lof)");
const QString ProjectFilter = QStringLiteral("Varno-Projekte (*.varno)");
const QString LofFilter = QStringLiteral("Dateien (*.lof)");
const QString ProgramCaption = QStringLiteral("Durchlauftr\u00E4ger");
const QString Untitled = QStringLiteral("Unbenannt");
const QString RecentKey = QStringLiteral("zuletztGeoeffnet");
constexpr int RecentCount = 8;

// The one setting the program keeps between runs: the files opened last.
QSettings settings()
{
    return QSettings(QStringLiteral("Varno"), QStringLiteral("varno"));
}

QString withSuffix(const QString &path, const QString &suffix)
{
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + u'.' + suffix);
}

} // namespace

ProjectCommands::ProjectCommands(MainWindow &main) : QObject(&main), m_main(main)
{
    setObjectName(QStringLiteral("ProjectCommands"));
    createMenu();
    for (QWidget *window : std::initializer_list<QWidget *>{main.dimensionsDialog(), main.loadDialog(),
                                                            main.materialDialog(), main.projectInfoDialog()})
        watch(window);
    m_saved = currentState();
    updateTitle();
}

void ProjectCommands::createMenu()
{
    QMenuBar *bar = m_main.menuBar();
    m_menu = new QMenu(QStringLiteral("Pro&jekt"), bar);
    m_menu->setObjectName(QStringLiteral("mnuprojektdatei"));
    // Right after "&Datei": the original entries keep their order.
    const QList<QAction *> entries = bar->actions();
    bar->insertMenu(entries.size() > 1 ? entries.at(1) : nullptr, m_menu);

    auto add = [this](const QString &text, const char *name, const QKeySequence &shortcut, auto slot) {
        QAction *action = m_menu->addAction(text);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(QStringLiteral("\u00D6&ffnen\u2026"), "mnuprojektoeffnen", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
        &ProjectCommands::open);
    add(QStringLiteral("&Speichern"), "mnuprojektspeichern", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        [this] { save(); });
    add(QStringLiteral("Speichern &unter\u2026"), "mnuprojektspeichernunter", QKeySequence(), [this] { saveAs(); });
    m_menu->addSeparator();
    add(QStringLiteral("Als .&lof exportieren\u2026"), "mnuprojektexport", QKeySequence(), &ProjectCommands::exportLof);
    m_recentSeparator = m_menu->addSeparator();
    fillRecentMenu();
}

void ProjectCommands::watch(QWidget *window)
{
    for (QLineEdit *field : window->findChildren<QLineEdit *>())
        connect(field, &QLineEdit::textChanged, this, &ProjectCommands::scheduleTitle);
    for (QPlainTextEdit *field : window->findChildren<QPlainTextEdit *>())
        connect(field, &QPlainTextEdit::textChanged, this, &ProjectCommands::scheduleTitle);
    for (QCheckBox *box : window->findChildren<QCheckBox *>())
        connect(box, &QCheckBox::toggled, this, &ProjectCommands::scheduleTitle);
    for (QComboBox *box : window->findChildren<QComboBox *>())
        connect(box, &QComboBox::currentIndexChanged, this, &ProjectCommands::scheduleTitle);
}

void ProjectCommands::resultsWindowMade(ResultsWindow *window)
{
    watch(window);
    // Discarded, the window's inputs go back to those a new one starts with.
    connect(window, &QObject::destroyed, this, &ProjectCommands::scheduleTitle);
    scheduleTitle();
}

void ProjectCommands::eurocodeWindowMade(EurocodeWindow *window)
{
    window->applyProjectInputs(m_eurocode);
    watch(window);
    scheduleTitle();
}

void ProjectCommands::stateMayHaveChanged()
{
    scheduleTitle();
}

// A keystroke in the load window changes up to five fields; the title is
// worked out once when the event is handled.
void ProjectCommands::scheduleTitle()
{
    if (m_titleScheduled)
        return;
    m_titleScheduled = true;
    QMetaObject::invokeMethod(this, &ProjectCommands::updateTitle, Qt::QueuedConnection);
}

void ProjectCommands::updateTitle()
{
    m_titleScheduled = false;
    const bool modified = isModified();
    // A new project without changes keeps the program's own caption.
    if (m_path.isEmpty() && !modified)
        m_main.setWindowTitle(ProgramCaption);
    else
        m_main.setWindowTitle(QStringLiteral("%1%2 \u2013 %3").arg(shownName(), modified ? QStringLiteral("*") : QString(),
                                                                  ProgramCaption));
}

QString ProjectCommands::shownName() const
{
    return m_path.isEmpty() ? Untitled : QFileInfo(m_path).fileName();
}

ProjectState ProjectCommands::currentState() const
{
    ProjectState state;
    state.texts = m_main.projectTexts();
    for (int k = 0; k < LoadTypeCount; ++k)
        state.sameForAll[k] = m_main.loadDialog()->sameForAll(k);
    state.systemTypeName = m_main.systemTypeName();
    for (int i = 0; i < ProjectInfoCount; ++i)
        state.info[i] = m_main.projectInfoDialog()->infoText(i);
    state.results = m_main.resultsWindow() ? m_main.resultsWindow()->designInputs() : m_results;
    state.eurocode = m_main.eurocodeWindow() ? m_main.eurocodeWindow()->projectInputs() : m_eurocode;
    return state;
}

bool ProjectCommands::isModified() const
{
    return !(currentState() == m_saved);
}

QString ProjectCommands::filePath() const
{
    return m_path;
}

ResultsInputs ProjectCommands::resultsWindowInputs() const
{
    return m_results;
}

bool ProjectCommands::offerToSave()
{
    if (!isModified())
        return true;
    switch (ShowMessage(&m_main, QStringLiteral("Abfrage"),
                        QStringLiteral("Die \u00C4nderungen an \u201E%1\u201C speichern?").arg(shownName()),
                        MsgIcon::Question, MsgButtons::SaveDiscardCancel)) {
    case MsgResult::Save:
        return save();
    case MsgResult::Discard:
        return true;
    default:
        return false;
    }
}

void ProjectCommands::startNewProject()
{
    setProject(QString(), false);
}

void ProjectCommands::setProject(const QString &path, bool varno)
{
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_varno = varno;
    m_saved = currentState();
    if (!path.isEmpty()) {
        m_lastFolder = QFileInfo(m_path).absolutePath();
        remember(m_path);
    }
    updateTitle();
}

QString ProjectCommands::startFolder() const
{
    if (!m_lastFolder.isEmpty() && QDir(m_lastFolder).exists())
        return m_lastFolder;
    return StartFolderForSaving();
}

void ProjectCommands::open()
{
    if (!offerToSave())
        return;
    const QString path = AskFileName(&m_main, {FileRequest::Mode::Open, OpenTitle, OpenFilter, QString(), startFolder()});
    if (!path.isEmpty())
        openFileNow(path);
}

bool ProjectCommands::openFile(const QString &path)
{
    return offerToSave() && openFileNow(path);
}

bool ProjectCommands::openFileNow(const QString &path)
{
    QFile file(path);
    const bool varno = IsProjectDocument(path, file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray());
    file.close();
    if (!varno) {
        // The old format, read as its own Open reads it.
        auto *lof = m_main.findChild<ProjectFileCommands *>(QString(), Qt::FindDirectChildrenOnly);
        if (!lof || !lof->openProjectFrom(path))
            return false;
        setProject(path, false);
        return true;
    }

    const ProjectDocument document = ReadProjectDocument(path);
    QString error = document.error;
    if (document.ok && !applyState(document.state, &error))
        error = QStringLiteral("Projektdatei \u201E%1\u201C: %2").arg(QDir::toNativeSeparators(path), error);
    if (!error.isEmpty()) {
        ShowMessage(&m_main, OpenTitle, error, MsgIcon::Warning);
        return false;
    }
    setProject(path, true);
    if (!document.ignored.isEmpty())
        ShowMessage(&m_main, OpenTitle,
                    QStringLiteral("\u201E%1\u201C stammt aus einer neueren Programmversion. Diese Angaben kennt das "
                                   "Programm nicht; sie werden ausgelassen und beim Speichern nicht geschrieben:\n%2")
                        .arg(QFileInfo(path).fileName(), document.ignored.join(QStringLiteral(", "))),
                    MsgIcon::Information);
    return true;
}

// Every text goes into its field through the field's change rules, as the
// old Open puts them in. The boxes "für alle Felder gleich?" are set before
// the loads, whose 20 texts then go in exactly as stored; the distances are
// checked once when all point loads are in.
bool ProjectCommands::applyState(const ProjectState &state, QString *error)
{
    // The Eurocode names are checked against the data before anything changes.
    // A Eurocode window has its data read; without one they are read here.
    const EurocodeWindow *window = m_main.eurocodeWindow();
    std::vector<ec::DataProblem> problems;
    const ec::Data read = window ? ec::Data() : ec::ReadData(m_main.dataDirectory(), problems);
    const QString unknown = UnknownEurocodeName(state.eurocode, window ? window->data() : read);
    if (!unknown.isEmpty()) {
        *error = unknown;
        return false;
    }

    m_main.setSystemTypeName(state.systemTypeName);
    DimensionsDialog *dimensions = m_main.dimensionsDialog();
    for (int i = 0; i < RegionCount; ++i)
        dimensions->setLengthText(i, state.texts.lengths[i]);
    LoadDialog *loads = m_main.loadDialog();
    for (int k = 0; k < LoadTypeCount; ++k)
        loads->setSameForAll(k, state.sameForAll[k]);
    loads->restoreUniformTexts(state.texts.uniform);
    loads->restorePointLoads(state.texts.distance, state.texts.force);
    m_main.materialDialog()->setTimberGrade(state.texts.timberGrade);
    m_main.materialDialog()->setSteelGrade(state.texts.steelGrade);
    for (int i = 0; i < ProjectInfoCount; ++i)
        m_main.projectInfoDialog()->setInfoText(i, state.info[i]);

    // An open results window shows the numbers, the schematic and the grades
    // of the project before; it is discarded as its "OK" does, and the next
    // one starts with the project's width, limits and series.
    m_results = state.results;
    m_main.discardResultsWindow();
    m_eurocode = state.eurocode;
    if (EurocodeWindow *eurocode = m_main.eurocodeWindow())
        eurocode->applyProjectInputs(state.eurocode);
    return true;
}

bool ProjectCommands::save()
{
    if (m_path.isEmpty() || !m_varno)
        return saveAs();
    return saveTo(m_path);
}

bool ProjectCommands::saveAs()
{
    const QString suggested = m_path.isEmpty() ? QDir(startFolder()).filePath(Untitled + QStringLiteral(".varno"))
                                               : withSuffix(m_path, ProjectDocumentSuffix);
    const QString path = AskFileName(&m_main, {FileRequest::Mode::Save, QStringLiteral("Speichern unter"),
                                               ProjectFilter, ProjectDocumentSuffix, suggested});
    return !path.isEmpty() && saveTo(path);
}

bool ProjectCommands::saveTo(const QString &path)
{
    const ProjectState state = currentState();
    QString error;
    if (!WriteProjectDocument(path, state, &error)) {
        ShowMessage(&m_main, SaveTitle, error, MsgIcon::Warning);
        return false;
    }
    // A new results window starts with what the project now keeps.
    m_results = state.results;
    setProject(path, true);
    return true;
}

void ProjectCommands::exportLof()
{
    const QString suggested = m_path.isEmpty() ? QDir(startFolder()).filePath(Untitled + QStringLiteral(".lof"))
                                               : withSuffix(m_path, QStringLiteral("lof"));
    const QString path = AskFileName(&m_main, {FileRequest::Mode::Save, QStringLiteral(".lof exportieren"),
                                               LofFilter, QStringLiteral("lof"), suggested});
    if (path.isEmpty())
        return;
    if (auto *lof = m_main.findChild<ProjectFileCommands *>(QString(), Qt::FindDirectChildrenOnly))
        lof->saveProjectTo(path);
}

QStringList ProjectCommands::recentFiles() const
{
    return settings().value(RecentKey).toStringList();
}

void ProjectCommands::remember(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > RecentCount)
        files.removeLast();
    QSettings store = settings();
    store.setValue(RecentKey, files);
    fillRecentMenu();
}

void ProjectCommands::fillRecentMenu()
{
    // Taken out and deleted later: the item chosen may be the one whose
    // signal runs this.
    for (QAction *action : std::as_const(m_recentActions)) {
        m_menu->removeAction(action);
        action->setParent(nullptr);
        action->deleteLater();
    }
    m_recentActions.clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *action = m_menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName().replace(u'&', QStringLiteral("&&"))));
        action->setObjectName(QStringLiteral("mnuzuletzt%1").arg(i + 1));
        action->setStatusTip(QDir::toNativeSeparators(path));
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] {
            if (!offerToSave())
                return;
            if (!QFileInfo::exists(path)) {
                // A file that is gone leaves the list.
                QStringList files = recentFiles();
                files.removeAll(path);
                QSettings store = settings();
                store.setValue(RecentKey, files);
                fillRecentMenu();
            }
            openFileNow(path);
        });
        m_recentActions << action;
    }
    m_recentSeparator->setVisible(!files.isEmpty());
}

} // namespace varno
