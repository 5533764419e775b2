// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"

#include "widgets/assets.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace varno {

void PrepareApplication()
{
    QApplication::setApplicationName(QString::fromLatin1(ProgramTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(VersionText));
    QApplication::setDesktopFileName(QStringLiteral("varno"));

    auto *qtTranslator = new QTranslator(qApp);
    if (qtTranslator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTranslator);

    LoadAssets();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon.svg")));
}

} // namespace varno
