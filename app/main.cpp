#include "app/assets.h"
#include "app/mainwindow.h"
#include "app/splashwindow.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(varno::ProgramTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(varno::VersionText));
    QApplication::setDesktopFileName(QStringLiteral("varno"));

    // Standard buttons and dialogs speak German whatever the system language.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    varno::LoadAssets();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon.svg")));

    varno::MainWindow mainWindow;
    varno::SplashWindow splash(&mainWindow);
    splash.show();
    return app.exec();
}
