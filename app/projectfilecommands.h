// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

namespace varno {

class MainWindow;
struct ProjectFileValues;

// The "Speichern" and "Öffnen" commands: a file dialog, then the project
// file written from, or read into, the fields of the input windows. The
// main window keeps both menu items disabled; the commands are connected to
// them all the same and can be run from code.
class ProjectFileCommands : public QObject
{
    Q_OBJECT
public:
    explicit ProjectFileCommands(MainWindow &main);

    void save();   // "Speichern"
    void open();   // "Öffnen"

    // The part after the dialog. On failure a message says why and nothing
    // has changed: no file for Save, no field for Open.
    bool saveProjectTo(const QString &path);
    bool openProjectFrom(const QString &path);

private:
    QString invalidGrade(const ProjectFileValues &values, const QString &path) const;
    void putIntoFields(const ProjectFileValues &values);

    MainWindow &m_main;
    QString m_lastFolder;
};

} // namespace varno
