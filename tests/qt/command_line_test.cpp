// The command line, seen from a parent process without any display: help and
// version answer on standard output with status 0; a wrong option or an
// argument gives one line naming it on standard error and status 2; a
// session manager's restart goes on to start the program.

#include <QProcess>
#include <QtTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
};

void CommandLineTest::answers_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out_starts");  // standard output begins so
    QTest::addColumn<QString>("err_names");   // the one line on standard error names this

    const QString help = QStringLiteral("Usage: tallaro [OPTION]\n");
    const QString version = QStringLiteral("tallaro " TALLARO_VERSION "\n");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << help << "";
    QTest::newRow("-h") << QStringList{"-h"} << 0 << help << "";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version << "";
    QTest::newRow("-v") << QStringList{"-v"} << 0 << version << "";
    QTest::newRow("first of two decides") << QStringList{"--version", "--help"} << 0 << version << "";
    QTest::newRow("grouped short options") << QStringList{"-hv"} << 0 << help << "";
    QTest::newRow("unknown long option") << QStringList{"--geometry"} << 2 << "" << "'--geometry'";
    QTest::newRow("unknown short option") << QStringList{"-x"} << 2 << "" << "'-x'";
    QTest::newRow("unknown in a group") << QStringList{"-hq"} << 2 << "" << "'-q'";
    QTest::newRow("Qt's own option") << QStringList{"-platform", "xcb"} << 2 << "" << "'-p'";
    QTest::newRow("an argument") << QStringList{"bill.txt"} << 2 << "" << "'bill.txt'";
    QTest::newRow("an argument after --") << QStringList{"--", "-h"} << 2 << "" << "'-h'";
    QTest::newRow("a value for --version") << QStringList{"--version=2"} << 2 << "" << "'--version'";
    // A session manager restarts the program with its session's id: the
    // program starts (and here finds no display).
    QTest::newRow("-session ID") << QStringList{"-session", "10d2a5e0_1"} << 1 << "" << "no display";
    QTest::newRow("-session without ID") << QStringList{"-session"} << 2 << "" << "'-session'";
    QTest::newRow("wrong after help") << QStringList{"--help", "--bogus"} << 2 << "" << "'--bogus'";
}

void CommandLineTest::answers() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out_starts);
    QFETCH(QString, err_names);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TALLARO_PROGRAM), args);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(program.exitCode(), status);
    if (out_starts.isEmpty()) {
        QCOMPARE(out, QString());
    } else {
        QVERIFY2(out.startsWith(out_starts), qPrintable(out));
    }
    if (err_names.isEmpty()) {
        QCOMPARE(err, QString());
    } else {
        QVERIFY2(err.count('\n') == 1 && err.endsWith('\n') && err.contains(err_names), qPrintable(err));
    }
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
