// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/inputwindows.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QMenu;

namespace varno {

struct CalcSession;
class AboutWindow;
class DimensionsDialog;
class EurocodeWindow;
class LoadDialog;
class MaterialDialog;
class ProjectCommands;
class ProjectInfoDialog;
class ResultsWindow;

// Form1 "Durchlaufträger": the title page and the menu bar from which every
// window of the program is reached. Owns the four input windows for the whole
// run and the one CalcSession; the results and about windows come and go.
class MainWindow : public QMainWindow, public InputWindows
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // InputWindows: what the computation reads at the moment it runs.
    ProjectTexts projectTexts() const override;
    QStringList timberValues() const override;
    QStringList steelValues() const override;
    QString dataDirectory() const override;
    ResultsInputs resultsWindowInputs() const override;

    CalcSession &session();
    // Text of the last system command; empty until one is chosen.
    QString systemTypeName() const;
    // Opening a Varno project file sets it as stored.
    void setSystemTypeName(const QString &name);

    DimensionsDialog *dimensionsDialog() const;
    LoadDialog *loadDialog() const;
    MaterialDialog *materialDialog() const;
    ProjectInfoDialog *projectInfoDialog() const;
    ResultsWindow *resultsWindow() const;   // null while discarded
    AboutWindow *aboutWindow() const;       // null while discarded
    EurocodeWindow *eurocodeWindow() const; // null until first shown
    ProjectCommands *projectCommands() const; // the menu "Projekt"

    // Runs the analysis and the design; creates the results window hidden if
    // needed. Shows the analysis warnings; on a refused run discards an open
    // results window, shows the refusal and returns false.
    bool runAnalysis();
    // Closes the results window as its "OK" does; the next use makes a new one.
    void discardResultsWindow();

    // The menu commands.
    void newProject();             // "Neu": offers to save the changes, then resets
    void resetToDefaults();        // what "Neu" does to the fields
    void chooseSingleSpan();       // "Einfeldträger"
    void chooseTwoSpan();          // "Zweifeldträger"
    void chooseThreeSpan();        // "Dreifeldträger"
    void showLoads();              // "&Belastung"
    void showTimber();             // "Holz"
    void showSteel();              // "Stahl"
    void showResults();            // "&Ergebnisse"
    void showProjectInfo();        // "&Projektinfo"
    void showEurocode();           // "E&urocode": the window "Nachweis nach Eurocode"
    void showHelp();               // "Hilfe"
    void showAbout();              // "Info"
    void exitProgram();            // "Beenden": asks first

    // Opens a Varno project file or a .lof (this as "Öffnen" reads it) after
    // the offer to save the changes; a file that cannot be read leaves every
    // field as it was and says why in a message box.
    bool openProjectFile(const QString &path);
    // The file named on the command line: opened once the window is first
    // shown, so a reading error appears over it and not over the splash.
    void openProjectFileWhenShown(const QString &path);

signals:
    // The exit question was answered with OK; every window is closing and
    // the event loop is told to end.
    void exitConfirmed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // A project file dropped on the window opens as with "Öffnen".
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createTitlePage();
    void createMenus();
    QAction *addMenuAction(QMenu *menu, const QString &text, const char *name,
                           const QKeySequence &shortcut = {});
    bool confirmExit();
    void quitProgram();
    void setSystemType(const QString &name, bool keepSpan2);

    std::unique_ptr<CalcSession> m_session;
    QString m_dataDirectory;
    QString m_systemTypeName;
    DimensionsDialog *m_dimensions = nullptr;
    LoadDialog *m_loads = nullptr;
    MaterialDialog *m_material = nullptr;
    ProjectInfoDialog *m_projectInfo = nullptr;
    QPointer<ResultsWindow> m_results;
    QPointer<AboutWindow> m_about;
    QPointer<EurocodeWindow> m_eurocode;
    ProjectCommands *m_project = nullptr;
    bool m_quitting = false;
    QString m_fileToOpen;
};

} // namespace varno
