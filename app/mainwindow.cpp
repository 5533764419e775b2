// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "analysis/analysis.h"
#include "app/aboutwindow.h"
#include "widgets/help.h"
#include "app/projectcommands.h"
#include "widgets/messages.h"
#include "session/session.h"
#include "widgets/svgpicture.h"
#include "design/design.h"
#include "results/resultswindow.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "dialogs/materialdialog.h"
#include "dialogs/projectinfodialog.h"
#include "app/ecprintcommand.h"
#include "app/printcommand.h"
#include "results/eurocodewindow.h"
#include "app/projectfilecommands.h"
#include "presentation/loadwarnings.h"
#include "version.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

namespace varno {

namespace {

const QString SingleSpanName = QStringLiteral("Einfelträger");
const QString TwoSpanName = QStringLiteral("Zweifelträger");
const QString ThreeSpanName = QStringLiteral("Dreifelträger");

const QString Description = QStringLiteral(
    "Dieses Programm ermöglicht es Ihnen für Ein-, Zwei- und Dreifeldträger eine statische "
    "Berechnung anzustellen.  Bei der vorliegneden Version können Sie pro Feld unterschiedliche "
    "Gleichlasten und bis zu 7 Einzellasten eingeben.  Ein Dreifeldträger mit Kragarmen ist in "
    "Abbildung 2.0 dargestellt.");
const QString Caption1 = QStringLiteral("Abbildung 1.0 ... Stonehenge  (Einfeldträger aus Felsblöcken)");
const QString Caption2 = QStringLiteral("Abbildung 2.0 ... Durchlaufträger");

void showModeless(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), m_session(std::make_unique<CalcSession>()), m_dataDirectory(DefaultDataDirectory())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Durchlaufträger"));

    // The input windows hold the values of the calculation in their fields, so
    // they exist, hidden, from here to the end of the run. The load window reads
    // the lengths of the dimensions window, hence this order.
    m_dimensions = new DimensionsDialog(*m_session, this);
    m_loads = new LoadDialog(*m_dimensions, this);
    m_material = new MaterialDialog(m_dataDirectory, this);
    m_projectInfo = new ProjectInfoDialog(this);

    createTitlePage();
    createMenus();
    // They connect themselves to their menu items and live as children.
    new ProjectFileCommands(*this);
    new PrintCommand(*this);
    m_project = new ProjectCommands(*this);
    setAcceptDrops(true);
    resize(sizeHint().expandedTo(QSize(900, 580)));
}

MainWindow::~MainWindow() = default;

void MainWindow::createTitlePage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("TitlePage"));

    auto *title = new QLabel(QString::fromLatin1(ProgramTitle), page);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);

    auto *description = new QLabel(Description, page);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *picture1 = new SvgPicture(QStringLiteral(":/assets/stonehenge.svg"), QSize(360, 248), page);
    picture1->setObjectName(QStringLiteral("Image1"));
    picture1->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    picture1->setAccessibleName(QStringLiteral("Abbildung 1.0"));
    picture1->setAccessibleDescription(QStringLiteral("Steinkreis von Stonehenge"));
    auto *caption1 = new QLabel(Caption1, page);
    caption1->setObjectName(QStringLiteral("lblCaption1"));
    caption1->setWordWrap(true);
    caption1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto *picture2 = new SvgPicture(QStringLiteral(":/assets/durchlauftraeger.svg"), QSize(450, 248), page);
    picture2->setObjectName(QStringLiteral("Image2"));
    picture2->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    picture2->setAccessibleName(QStringLiteral("Abbildung 2.0"));
    picture2->setAccessibleDescription(
        QStringLiteral("Dreifeldträger mit Kragarmen, Gleichlasten, Momentenlinie und Auflagerkräften"));
    auto *caption2 = new QLabel(Caption2, page);
    caption2->setObjectName(QStringLiteral("lblCaption2"));
    caption2->setWordWrap(true);
    caption2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto *pictures = new QGridLayout;
    pictures->setHorizontalSpacing(24);
    pictures->addWidget(picture1, 0, 0);
    pictures->addWidget(picture2, 0, 1);
    pictures->addWidget(caption1, 1, 0);
    pictures->addWidget(caption2, 1, 1);
    pictures->setColumnStretch(0, 4);
    pictures->setColumnStretch(1, 5);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(14);
    layout->addWidget(title);
    layout->addWidget(description);
    layout->addStretch(1);
    layout->addLayout(pictures);
    layout->addStretch(2);

    setCentralWidget(page);
}

QAction *MainWindow::addMenuAction(QMenu *menu, const QString &text, const char *name,
                                   const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromUtf8(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void MainWindow::createMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("mnudatei"));
    QAction *newAction = addMenuAction(file, QStringLiteral("Neu"), "mnuneu");
    QAction *open = addMenuAction(file, QStringLiteral("Öffnen"), "mnuöffnen", QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction *save = addMenuAction(file, QStringLiteral("Speichern"), "mnuspeichern", QKeySequence(Qt::CTRL | Qt::Key_S));
    // The print command is connected by the report code, found by this name.
    addMenuAction(file, QStringLiteral("Drucken"), "mnudrucken", QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    QAction *exitAction = addMenuAction(file, QStringLiteral("Beenden"), "mnubeenden");

    QMenu *edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("mnubearbeiten"));
    QAction *cut = addMenuAction(edit, QStringLiteral("Ausschneiden"), "mnuausschneiden", QKeySequence(Qt::CTRL | Qt::Key_X));
    QAction *copy = addMenuAction(edit, QStringLiteral("Kopieren"), "mnukopieren", QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction *paste = addMenuAction(edit, QStringLiteral("Einfügen"), "mnueinfügen", QKeySequence(Qt::CTRL | Qt::Key_V));

    QMenu *system = bar->addMenu(QStringLiteral("&System"));
    system->setObjectName(QStringLiteral("mnusystem"));
    QAction *single = addMenuAction(system, QStringLiteral("Einfeldträger"), "mnueinfeld");
    QAction *two = addMenuAction(system, QStringLiteral("Zweifeldträger"), "mnuzweifeld");
    QAction *three = addMenuAction(system, QStringLiteral("Dreifeldträger"), "mnudreifeld");

    QAction *loads = bar->addAction(QStringLiteral("&Belastung"));
    loads->setObjectName(QStringLiteral("mnubelastung"));

    QMenu *material = bar->addMenu(QStringLiteral("&Material"));
    material->setObjectName(QStringLiteral("mnumaterial"));
    QAction *timber = addMenuAction(material, QStringLiteral("Holz"), "mnuholz");
    QAction *steel = addMenuAction(material, QStringLiteral("Stahl"), "mnustahl");

    QAction *results = bar->addAction(QStringLiteral("&Ergebnisse"));
    results->setObjectName(QStringLiteral("mnuergebnisse"));
    QAction *projectInfo = bar->addAction(QStringLiteral("&Projektinfo"));
    projectInfo->setObjectName(QStringLiteral("mnuprojekt"));

    // Not one of the original commands: the Eurocode check, before the help
    // menu, with a letter no other entry uses.
    QAction *eurocode = bar->addAction(QStringLiteral("E&urocode"));
    eurocode->setObjectName(QStringLiteral("mnueurocode"));

    QMenu *help = bar->addMenu(QStringLiteral("&?"));
    help->setObjectName(QStringLiteral("mnufrage"));
    help->menuAction()->setObjectName(QStringLiteral("mnufrage_menu"));
    help->menuAction()->setToolTip(QStringLiteral("Hilfe und Info"));
    QAction *helpAction = addMenuAction(help, QStringLiteral("Hilfe"), "mnuhilfe");
    help->addSeparator();
    QAction *info = addMenuAction(help, QStringLiteral("Info"), "mnuinfo");

    // The file commands and the clipboard items have no use here; they stay
    // disabled, and so do their shortcuts.
    for (QAction *action : {cut, copy, paste, open, save})
        action->setEnabled(false);

    connect(newAction, &QAction::triggered, this, &MainWindow::newProject);
    connect(exitAction, &QAction::triggered, this, &MainWindow::exitProgram);
    connect(single, &QAction::triggered, this, &MainWindow::chooseSingleSpan);
    connect(two, &QAction::triggered, this, &MainWindow::chooseTwoSpan);
    connect(three, &QAction::triggered, this, &MainWindow::chooseThreeSpan);
    connect(loads, &QAction::triggered, this, &MainWindow::showLoads);
    connect(timber, &QAction::triggered, this, &MainWindow::showTimber);
    connect(steel, &QAction::triggered, this, &MainWindow::showSteel);
    connect(results, &QAction::triggered, this, &MainWindow::showResults);
    connect(projectInfo, &QAction::triggered, this, &MainWindow::showProjectInfo);
    connect(eurocode, &QAction::triggered, this, &MainWindow::showEurocode);
    connect(helpAction, &QAction::triggered, this, &MainWindow::showHelp);
    connect(info, &QAction::triggered, this, &MainWindow::showAbout);
}

ProjectTexts MainWindow::projectTexts() const
{
    ProjectTexts texts;
    texts.lengths = m_dimensions->lengthTexts();
    m_loads->fillProjectTexts(texts);
    texts.timberGrade = m_material->timberGrade();
    texts.steelGrade = m_material->steelGrade();
    return texts;
}

QStringList MainWindow::timberValues() const
{
    return m_material->timberValues();
}

QStringList MainWindow::steelValues() const
{
    return m_material->steelValues();
}

QString MainWindow::dataDirectory() const
{
    return m_dataDirectory;
}

CalcSession &MainWindow::session()
{
    return *m_session;
}

QString MainWindow::systemTypeName() const
{
    return m_systemTypeName;
}

void MainWindow::setSystemTypeName(const QString &name)
{
    m_systemTypeName = name;
}

ResultsInputs MainWindow::resultsWindowInputs() const
{
    return m_project ? m_project->resultsWindowInputs() : ResultsInputs();
}

ProjectCommands *MainWindow::projectCommands() const
{
    return m_project;
}

void MainWindow::newProject()
{
    if (!m_project->offerToSave())
        return;
    resetToDefaults();
    m_project->startNewProject();
}

DimensionsDialog *MainWindow::dimensionsDialog() const
{
    return m_dimensions;
}

LoadDialog *MainWindow::loadDialog() const
{
    return m_loads;
}

MaterialDialog *MainWindow::materialDialog() const
{
    return m_material;
}

ProjectInfoDialog *MainWindow::projectInfoDialog() const
{
    return m_projectInfo;
}

ResultsWindow *MainWindow::resultsWindow() const
{
    return m_results;
}

AboutWindow *MainWindow::aboutWindow() const
{
    return m_about;
}

void MainWindow::resetToDefaults()
{
    // Every text goes in through the fields' own change rules. The point loads
    // are cleared first and all together, as Open puts them in: the distance
    // check of the load window looks at all 27 slots on each distance edit,
    // so clearing them one by one would report every load still beyond its
    // region, and with the lengths reset first, every load on a cantilever
    // that New shortens to 0.00. Checked once when all are 0, none is.
    std::array<QString, PointLoadSlotCount> zeros;
    zeros.fill(QStringLiteral("0"));
    m_loads->restorePointLoads(zeros, zeros);

    for (int index = 0; index < RegionCount; ++index)
        m_dimensions->setLengthText(index, texts::DefaultLengths[index]);

    for (int region = Span1; region <= RightCantilever; ++region)
        m_loads->setUniformText(region, LoadG, QStringLiteral("2.00"));
    for (int loadType : {LoadQ, LoadS, LoadW}) {
        for (int region = Span1; region <= RightCantilever; ++region)
            m_loads->setUniformText(region, loadType, QStringLiteral("0.00"));
    }

    // Only a cleared box is set, as a click would; a set box is left alone so
    // that no row hidden by a system command comes back.
    for (int loadType = 0; loadType < LoadTypeCount; ++loadType) {
        if (!m_loads->sameForAll(loadType))
            m_loads->setSameForAll(loadType, true);
    }

    m_material->setTimberGrade(1);
    m_material->setSteelGrade(0);
}

void MainWindow::setSystemType(const QString &name, bool keepSpan2)
{
    m_systemTypeName = name;
    m_project->stateMayHaveChanged();
    if (!keepSpan2)
        m_dimensions->setLengthText(LengthL2, QStringLiteral("0.00"));
    m_dimensions->setLengthText(LengthL3, QStringLiteral("0.00"));

    if (!keepSpan2)
        m_dimensions->setSpanRowVisible(LengthL2, false);
    m_dimensions->setSpanRowVisible(LengthL3, false);

    if (!keepSpan2)
        m_loads->setRegionRowsVisible(Span2, false);
    m_loads->setRegionRowsVisible(Span3, false);

    showModeless(m_dimensions);
    m_dimensions->redrawSketch();
}

void MainWindow::chooseSingleSpan()
{
    setSystemType(SingleSpanName, false);
}

void MainWindow::chooseTwoSpan()
{
    setSystemType(TwoSpanName, true);
}

void MainWindow::chooseThreeSpan()
{
    // Rows that an earlier single- or two-span command hid in the load window
    // stay hidden. The spans it removed still read 0.00 at this point, so the
    // regions do not exist yet; and with a "für alle Felder gleich?" box set
    // the rows belong hidden anyway. The load window's own rules bring them
    // back once the lengths are entered and a box is cleared.
    m_systemTypeName = ThreeSpanName;
    m_project->stateMayHaveChanged();
    showModeless(m_dimensions);
    m_dimensions->redrawSketch();
}

void MainWindow::showLoads()
{
    showModeless(m_loads);
}

void MainWindow::showTimber()
{
    m_material->openForTimber();
    m_material->raise();
    m_material->activateWindow();
}

void MainWindow::showSteel()
{
    m_material->openForSteel();
    m_material->raise();
    m_material->activateWindow();
}

bool MainWindow::runAnalysis()
{
    const AnalysisOutcome outcome = RunAnalysis(beam(), m_session->results);
    for (const QString &warning : outcome.warnings)
        ShowMessage(this, NoLoadWarningTitle, warning, MsgIcon::Warning);
    if (outcome.refused) {
        // The numbers of an open results window belong to the system before
        // this change; left on screen they would pass for the current ones.
        // So a refused run discards the window as its "OK" does.
        discardResultsWindow();
        ShowMessage(this, QStringLiteral("Warnung"), outcome.refusal, MsgIcon::Warning);
        return false;
    }
    for (const QString &warning : InactiveLoadWarnings(outcome, QLocale()) + UpwardLoadWarnings(outcome, QLocale()))
        ShowMessage(this, QStringLiteral("Warnung"), warning, MsgIcon::Warning);

    if (!m_results) {
        m_results = new ResultsWindow(*m_session, *this, this);
        m_project->resultsWindowMade(m_results);
    }
    m_results->writeResultLines(outcome);
    m_results->runDesign();
    return true;
}

void MainWindow::discardResultsWindow()
{
    if (m_results) {
        m_results->close();
        m_results.clear();
    }
}

EurocodeWindow *MainWindow::eurocodeWindow() const
{
    return m_eurocode;
}

void MainWindow::showEurocode()
{
    if (!m_eurocode) {
        m_eurocode = new EurocodeWindow(*this, {m_dimensions, m_loads, m_material}, this);
        new EcPrintCommand(*m_eurocode, *this);
        m_project->eurocodeWindowMade(m_eurocode);
    }
    showModeless(m_eurocode);
}

void MainWindow::showResults()
{
    // Always computed afresh, also when the window is already open.
    if (!runAnalysis())
        return;
    showModeless(m_results);
    m_results->drawSystem();
}

void MainWindow::showProjectInfo()
{
    showModeless(m_projectInfo);
}

void MainWindow::showHelp()
{
    ShowHelp(this);
}

void MainWindow::showAbout()
{
    if (!m_about)
        m_about = new AboutWindow(this);
    showModeless(m_about);
}

bool MainWindow::confirmExit()
{
    return ShowMessage(this, QStringLiteral("Abfrage"),
                       QStringLiteral("Sind Sie sicher, dass Sie das Programm beenden wollen?"), MsgIcon::Warning,
                       MsgButtons::OkCancel)
        == MsgResult::Ok;
}

void MainWindow::exitProgram()
{
    // The offer to save comes first; the question stays as it always was.
    if (m_project->offerToSave() && confirmExit())
        quitProgram();
}

void MainWindow::quitProgram()
{
    m_quitting = true;
    emit exitConfirmed();
    // The input windows are top-level windows of their own; closing only this
    // one would leave them open and the program running.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

bool MainWindow::openProjectFile(const QString &path)
{
    return m_project->openFile(path);
}

void MainWindow::openProjectFileWhenShown(const QString &path)
{
    m_fileToOpen = path;
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_fileToOpen.isEmpty())
        return;
    // After the window is on screen: a message box of the reading opens over it.
    QTimer::singleShot(0, this, [this, path = std::exchange(m_fileToOpen, QString())] { openProjectFile(path); });
}

namespace {

// The one local file a drag carries, if it carries exactly one.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openProjectFile(path);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_quitting) {
        event->accept();
        return;
    }
    if (!m_project->offerToSave() || !confirmExit()) {
        event->ignore();
        return;
    }
    event->accept();
    quitProgram();
}

} // namespace varno
