// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// varno-calc prints nothing but its own output and messages, also when the
// report's GUI application starts in an environment without a usable
// runtime directory (root from a plain shell, cron, su).

#include "cli/runtimedirectory.h"

#include "calcprogram.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString program()
{
    return varno::test::CalcProgram();
}

// How the runtime directory of the run is set up inside a scratch folder.
enum class Runtime { Unset, Empty, RegularFile, OpenFolder, ForeignFolder, MissingFolder, PrivateFolder };

} // namespace

Q_DECLARE_METATYPE(Runtime)

class TestCliQuiet : public QObject
{
    Q_OBJECT

private slots:
    void pdfWritesNothingOnStandardError_data();
    void pdfWritesNothingOnStandardError();
    void privateRuntimeDirectory_data();
    void privateRuntimeDirectory();
};

void TestCliQuiet::pdfWritesNothingOnStandardError_data()
{
    QTest::addColumn<Runtime>("runtime");
    QTest::newRow("XDG_RUNTIME_DIR unset") << Runtime::Unset;
    QTest::newRow("XDG_RUNTIME_DIR empty") << Runtime::Empty;
    QTest::newRow("a regular file") << Runtime::RegularFile;
    QTest::newRow("a folder with mode 0755") << Runtime::OpenFolder;
    QTest::newRow("another user's folder") << Runtime::ForeignFolder;
    QTest::newRow("a folder that does not exist") << Runtime::MissingFolder;
    QTest::newRow("the user's private folder") << Runtime::PrivateFolder;
}

void TestCliQuiet::pdfWritesNothingOnStandardError()
{
    QFETCH(Runtime, runtime);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    QDir dir(scratch.path());
    // The program's temporary files go to a folder of their own, so that a
    // folder it leaves behind shows.
    QVERIFY(dir.mkdir(QStringLiteral("tmp")));
    const QString runtimePath = dir.filePath(QStringLiteral("runtime"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("TMPDIR"), dir.filePath(QStringLiteral("tmp")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    switch (runtime) {
    case Runtime::Unset:
        break;
    case Runtime::Empty:
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString());
        break;
    case Runtime::RegularFile: {
        QFile file(runtimePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimePath);
        break;
    }
    case Runtime::OpenFolder:
    case Runtime::ForeignFolder:
    case Runtime::PrivateFolder:
        QVERIFY(dir.mkdir(runtimePath));
        QCOMPARE(::chmod(QFile::encodeName(runtimePath).constData(), runtime == Runtime::OpenFolder ? 0755 : 0700), 0);
        if (runtime == Runtime::ForeignFolder) {
            if (::geteuid() != 0)
                QSKIP("giving a folder to another user needs root");
            QCOMPARE(::chown(QFile::encodeName(runtimePath).constData(), 65534, 65534), 0);
        }
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimePath);
        break;
    case Runtime::MissingFolder:
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimePath);
        break;
    }

    const QString pdf = dir.filePath(QStringLiteral("bericht.pdf"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program(), {QStringLiteral("--locale"), QStringLiteral("C"), QStringLiteral("--pdf"), pdf,
                              QStringLiteral(VARNO_TEST_DATA_DIR "/lof_single_span.lof")});
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QByteArray err = process.readAllStandardError();
    QVERIFY2(err.isEmpty(), err.constData());
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardOutput().contains("MF1"));
    QVERIFY(QFileInfo(pdf).size() > 1000);
    // A runtime folder of the program's own is gone with the program.
    QCOMPARE(QDir(dir.filePath(QStringLiteral("tmp"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
    // What the user had is left as it was.
    if (runtime == Runtime::RegularFile)
        QVERIFY(QFileInfo(runtimePath).isFile());
    if (runtime == Runtime::MissingFolder)
        QVERIFY(!QFileInfo::exists(runtimePath));
}

void TestCliQuiet::privateRuntimeDirectory_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("isFolder");
    QTest::addColumn<bool>("expected");
    QTest::newRow("folder 0700") << 0700 << true << true;
    QTest::newRow("folder 0750") << 0750 << true << false;
    QTest::newRow("folder 0711") << 0711 << true << false;
    QTest::newRow("folder 0500") << 0500 << true << false;
    QTest::newRow("file 0700") << 0700 << false << false;
}

void TestCliQuiet::privateRuntimeDirectory()
{
    QFETCH(int, mode);
    QFETCH(bool, isFolder);
    QFETCH(bool, expected);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QByteArray path = QFile::encodeName(scratch.filePath(QStringLiteral("runtime")));
    if (isFolder) {
        QVERIFY(QDir().mkdir(QFile::decodeName(path)));
    } else {
        QFile file(QFile::decodeName(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(::chmod(path.constData(), mode), 0);
    QCOMPARE(varno::cli::IsPrivateRuntimeDirectory(path), expected);
    QVERIFY(!varno::cli::IsPrivateRuntimeDirectory(QByteArray()));
    QVERIFY(!varno::cli::IsPrivateRuntimeDirectory(path + "/fehlt"));
    ::chmod(path.constData(), 0700);
}

QTEST_GUILESS_MAIN(TestCliQuiet)
#include "tst_core_cli_quiet.moc"
