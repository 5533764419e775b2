// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "app/mainwindow.h"
#include "app/splashwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    varno::PrepareApplication();

    varno::MainWindow mainWindow;
    varno::SplashWindow splash(&mainWindow);
    splash.show();
    return app.exec();
}
