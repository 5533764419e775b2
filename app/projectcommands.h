// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/projectstate.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace varno {

class EurocodeWindow;
class MainWindow;
class ResultsWindow;

// The menu "Projekt": Öffnen…, Speichern, Speichern unter…, the export of
// a .lof and the files opened last. Keeps the project's file, the state
// last opened or saved (a change against it is an unsaved change, shown in
// the title bar and offered for saving before the project is left), the
// design inputs a new results window starts with and the inputs of a
// Eurocode window not made yet.
class ProjectCommands : public QObject
{
    Q_OBJECT
public:
    // Puts the menu into the main window's menu bar, after "&Datei".
    explicit ProjectCommands(MainWindow &main);

    void open();          // "Öffnen…": a Varno project file or a .lof
    bool save();          // "Speichern": to the project's file, else as "Speichern unter…"
    bool saveAs();        // "Speichern unter…"
    void exportLof();     // ".lof exportieren…"

    // Opens a file as the menu does, after the offer to save the changes;
    // the command line, a drop and the files opened last come here.
    bool openFile(const QString &path);
    // The part after the dialogs; on failure a message says why and nothing
    // has changed.
    bool openFileNow(const QString &path);
    bool saveTo(const QString &path);

    // Before the project is left: when it has unsaved changes, asks
    // whether to save them. False when the user cancels or saving fails.
    bool offerToSave();
    // After New: a project without a file, with nothing unsaved.
    void startNewProject();

    ProjectState currentState() const;
    bool isModified() const;
    QString filePath() const;             // empty for a project without a file
    QStringList recentFiles() const;

    // What a new results window starts with.
    ResultsInputs resultsWindowInputs() const;
    // The windows made later: their changes count, the Eurocode window
    // takes the inputs of the project opened before it was made.
    void resultsWindowMade(ResultsWindow *window);
    void eurocodeWindowMade(EurocodeWindow *window);
    // A change outside the watched fields (the system commands).
    void stateMayHaveChanged();

private:
    void createMenu();
    void watch(QWidget *window);
    void scheduleTitle();
    void updateTitle();
    bool applyState(const ProjectState &state, QString *error);
    void setProject(const QString &path, bool varno);
    QString startFolder() const;
    QString shownName() const;
    void remember(const QString &path);
    void fillRecentMenu();

    MainWindow &m_main;
    QString m_path;                        // absolute; empty: no file
    bool m_varno = false;                  // m_path is a Varno project file (else a .lof)
    ProjectState m_saved;
    ResultsInputs m_results;
    EurocodeInputs m_eurocode;             // for a Eurocode window made later
    QString m_lastFolder;
    bool m_titleScheduled = false;
    QMenu *m_menu = nullptr;
    QAction *m_recentSeparator = nullptr;
    QList<QAction *> m_recentActions;
};

} // namespace varno
