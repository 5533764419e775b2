// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/projectfilecommands.h"

#include "app/mainwindow.h"
#include "widgets/messages.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "dialogs/materialdialog.h"
#include "io/projectfile.h"
#include "app/filedialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace varno {

namespace {

const QString SaveTitle = QStringLiteral("Speichern");
const QString OpenTitle = QStringLiteral("\u00D6ffnen");
const QString ProjectFilter = QStringLiteral("Dateien (*.lof)");

} // namespace

ProjectFileCommands::ProjectFileCommands(MainWindow &main) : QObject(&main), m_main(main)
{
    setObjectName(QStringLiteral("ProjectFileCommands"));
    if (auto *action = main.findChild<QAction *>(QStringLiteral("mnuspeichern")))
        connect(action, &QAction::triggered, this, &ProjectFileCommands::save);
    if (auto *action = main.findChild<QAction *>(QStringLiteral("mnu\u00F6ffnen")))
        connect(action, &QAction::triggered, this, &ProjectFileCommands::open);
}

void ProjectFileCommands::save()
{
    // Once installed, the program's folder is rarely writable: Save starts
    // where the last project of this run was opened or saved, else in the
    // user's documents.
    QString start = m_lastFolder;
    if (start.isEmpty())
        start = StartFolderForSaving();
    const QString path =
        AskFileName(&m_main, {FileRequest::Mode::Save, SaveTitle, ProjectFilter, QStringLiteral("lof"), start});
    if (!path.isEmpty())
        saveProjectTo(path);
}

void ProjectFileCommands::open()
{
    const QString path = AskFileName(&m_main, {FileRequest::Mode::Open, OpenTitle, ProjectFilter, QString(),
                                               QCoreApplication::applicationDirPath()});
    if (!path.isEmpty())
        openProjectFrom(path);
}

bool ProjectFileCommands::saveProjectTo(const QString &path)
{
    // Written through a save file: an existing file is replaced only once the
    // new one is complete.
    QString error;
    if (!WriteProjectFile(path, m_main.projectTexts(), &error)) {
        ShowMessage(&m_main, SaveTitle, error, MsgIcon::Warning);
        return false;
    }
    m_lastFolder = QFileInfo(path).absolutePath();
    return true;
}

bool ProjectFileCommands::openProjectFrom(const QString &path)
{
    const ProjectFileValues values = ReadProjectFile(path);
    QString error = values.ok ? invalidGrade(values, path) : values.error;
    if (!error.isEmpty()) {
        ShowMessage(&m_main, OpenTitle, error, MsgIcon::Warning);
        return false;
    }
    putIntoFields(values);
    m_lastFolder = QFileInfo(path).absolutePath();
    return true;
}

// A position outside its list would select nothing and leave the value list
// empty, which the design cannot work with; such a file is refused whole.
QString ProjectFileCommands::invalidGrade(const ProjectFileValues &values, const QString &path) const
{
    auto outside = [&](const QString &material, int position, int count) {
        return QStringLiteral("\u201E%1\u201C: Die G\u00FCteklasse f\u00FCr %2 steht auf Position %3; "
                              "m\u00F6glich sind 0 bis %4.")
            .arg(QDir::toNativeSeparators(path), material)
            .arg(position)
            .arg(count - 1);
    };
    if (values.timberGrade < 0 || values.timberGrade >= TimberGradeCount)
        return outside(QStringLiteral("Holz"), values.timberGrade, TimberGradeCount);
    if (values.steelGrade < 0 || values.steelGrade >= SteelGradeCount)
        return outside(QStringLiteral("Stahl"), values.steelGrade, SteelGradeCount);
    return {};
}

// Every value goes in through its field's change rules, as if typed: the
// numeric check, the sketch redraw, the grade selection re-reading its list.
// Two rules are held back while the file's values go in. The copy rule of a
// set "für alle Felder gleich?" box would replace regions 2 to 5 with the
// region-1 text, although the file holds all 20 values. The distance check
// would compare every slot after each single assignment, partly against
// distances of the previous project still waiting to be replaced, and could
// raise the same warning two dozen times; the load window checks the
// distances once when all of them are in.
void ProjectFileCommands::putIntoFields(const ProjectFileValues &values)
{
    DimensionsDialog *dimensions = m_main.dimensionsDialog();
    for (int index = 0; index < RegionCount; ++index)
        dimensions->setLengthText(index, values.lengths[index]);

    LoadDialog *loads = m_main.loadDialog();
    loads->restoreUniformTexts(values.uniform);
    loads->restorePointLoads(values.distance, values.force);

    MaterialDialog *material = m_main.materialDialog();
    material->setTimberGrade(values.timberGrade);
    material->setSteelGrade(values.steelGrade);
}

} // namespace varno
