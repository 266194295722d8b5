// How the program ends, seen from a parent process: its exit status and what
// the error box said.

#include <QProcess>
#include <QtTest>

class ExitPathsTest : public QObject {
    Q_OBJECT
private slots:
    void ends_data();
    void ends();
    void says_so_without_a_display();
    void every_failed_allocation_of_a_bill_is_fatal();
};

void ExitPathsTest::ends_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::newRow("exit button") << "exit-button" << 0 << "";
    QTest::newRow("last window closed") << "close-last" << 0 << "";
    // -1 reaches a Linux parent as 255.
    QTest::newRow("fatal error") << "not-loaded" << 255
                                 << "title: 错误\n"
                                    "text: 运行时出错!\\n\\n错误信息：指定窗口尚未载入\\n\n"
                                    "icon: error\n"
                                    "bill started: no\n";
    QTest::newRow("out of memory") << "out-of-memory" << 255
                                   << "title: 错误\n"
                                      "text: 运行时出错!\\n\\n错误信息：分配 22 字节内存失败!\\n\n"
                                      "icon: error\n"
                                      "bill started: no\n";
}

void ExitPathsTest::ends() {
    QFETCH(QString, scenario);
    QFETCH(int, status);
    QFETCH(QString, output);
    QProcess child;
    child.start(QStringLiteral(TALLARO_EXIT_CHILD), {scenario});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), output);
    QCOMPARE(child.exitCode(), status);
}

// Without a display the program says so in one line and ends with status 1,
// rather than aborting inside Qt.
void ExitPathsTest::says_so_without_a_display() {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TALLARO_PROGRAM), {});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QStringList lines = QString::fromLocal8Bit(program.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains("no display"), qPrintable(lines.first()));
}

// Runs a whole bill in a child, the n-th text allocation failing (0: none).
static std::pair<int, QString> bill_failing_at(std::size_t n) {
    QProcess child;
    child.start(QStringLiteral(TALLARO_EXIT_CHILD), {QStringLiteral("bill-failing-at-%1").arg(n)});
    if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit) return {-1000, "crashed or hung"};
    return {child.exitCode(), QString::fromUtf8(child.readAllStandardOutput())};
}

// Each text allocation of a bill, made to fail in turn in a child process,
// ends in the error box naming the bytes it asked for, then status -1; none
// crashes or hangs.
void ExitPathsTest::every_failed_allocation_of_a_bill_is_fatal() {
    const auto [status, output] = bill_failing_at(0);
    QCOMPARE(status, 0);
    QVERIFY2(output.startsWith("requests:"), qPrintable(output));
    const QStringList requests = output.trimmed().mid(10).split(' ');
    QVERIFY(requests.size() > 20);
    for (qsizetype n = 1; n <= requests.size(); ++n) {
        const auto [failed_status, failed_output] = bill_failing_at(static_cast<std::size_t>(n));
        const QString message = QStringLiteral("错误信息：分配 %1 字节内存失败!").arg(requests[n - 1]);
        QVERIFY2(failed_status == 255 && failed_output.contains(message),
                 qPrintable(QStringLiteral("allocation %1: status %2, output %3").arg(n).arg(failed_status).arg(failed_output)));
    }
}

QTEST_GUILESS_MAIN(ExitPathsTest)
#include "exit_paths_test.moc"
