// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "app/mainwindow.h"
#include "app/splashwindow.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    varno::PrepareApplication();

    varno::MainWindow mainWindow;
    // "varno FILE.lof", as the file manager starts it: the file opens as with
    // "Öffnen" once the main window is there. Options and further names are
    // ignored.
    const QStringList arguments = QApplication::arguments().mid(1);
    for (const QString &argument : arguments)
        if (!argument.startsWith(u'-')) {
            mainWindow.openProjectFileWhenShown(argument);
            break;
        }
    varno::SplashWindow splash(&mainWindow);
    splash.show();
    return app.exec();
}
