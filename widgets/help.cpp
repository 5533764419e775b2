// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/help.h"

#include "widgets/messages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace varno {

namespace {

QString &programFolder()
{
    static QString folder;
    return folder;
}

GuideOpener &opener()
{
    static GuideOpener open;
    return open;
}

} // namespace

QString InstalledGuide(const QString &folder)
{
    // The build system gives the guide's place relative to the programs'
    // folder, so it holds under any prefix.
    const QFileInfo guide(QDir(folder).filePath(QStringLiteral(VARNO_GUIDE_FROM_PROGRAM)));
    return guide.isFile() ? QDir::cleanPath(guide.absoluteFilePath()) : QString();
}

void ShowHelp(QWidget *parent)
{
    const QString folder =
        programFolder().isEmpty() ? QCoreApplication::applicationDirPath() : programFolder();
    const QString guide = InstalledGuide(folder);
    if (guide.isEmpty()) {
        ShowHelpMessage(parent);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(guide);
    const bool opened = opener() ? opener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        ShowMessage(parent, QStringLiteral("Hilfe"),
                    QStringLiteral("Das Benutzerhandbuch \u201E%1\u201C kann nicht angezeigt werden: es ist kein "
                                   "Programm f\u00FCr HTML-Seiten eingerichtet.")
                        .arg(QDir::toNativeSeparators(guide)),
                    MsgIcon::Warning);
}

void SetHelpProgramFolder(const QString &folder)
{
    programFolder() = folder;
}

void SetGuideOpener(GuideOpener open)
{
    opener() = std::move(open);
}

} // namespace varno
