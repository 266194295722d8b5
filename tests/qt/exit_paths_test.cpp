// How the program ends, seen from a parent process: its exit status and what
// the error box said.

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include "tests/bill_allocations.h"

class ExitPathsTest : public QObject {
    Q_OBJECT
private slots:
    void ends_data();
    void ends();
    void says_so_without_a_display();
    void every_failed_allocation_of_a_bill_is_fatal();
    void huge_paste_under_a_memory_limit();
    void no_gbk_converter_is_fatal();
};

// A child process that plays `scenario`, with `env` added to its environment.
static QProcess* run_child(QProcess& child, const QString& scenario, const QStringList& env = {}) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : env) {
        const qsizetype at = pair.indexOf('=');
        const QString name = pair.left(at), value = pair.mid(at + 1);
        // Sanitizer options add to those the test runs with.
        e.insert(name, e.contains(name) ? e.value(name) + ':' + value : value);
    }
    child.setProcessEnvironment(e);
    child.start(QStringLiteral(TALLARO_EXIT_CHILD), {scenario});
    return &child;
}

void ExitPathsTest::ends_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::newRow("exit button") << "exit-button" << 0 << "";
    QTest::newRow("last window closed") << "close-last" << 0 << "";
    // -1 reaches a Linux parent as 255.
    // While the error box is up a click runs nothing and a close request
    // neither loses the window nor ends the box's wait.
    const auto box = [](const char* message) {
        return QStringLiteral("title: 错误\n"
                              "text: 运行时出错!\\n\\n错误信息：%1\\n\n"
                              "icon: error\n"
                              "bill started: no\n"
                              "after a close request: window and box stay\n")
            .arg(QString::fromUtf8(message));
    };
    QTest::newRow("fatal error") << "not-loaded" << 255 << box("指定窗口尚未载入");
    QTest::newRow("out of memory") << "out-of-memory" << 255 << box("分配 22 字节内存失败!");
    QTest::newRow("queued destruction waits for the box")
        << "queued-destruction-then-fatal" << 255 << box("指定窗口尚未载入");
    // The operations of the checkout window, run with no checkout window.
    QTest::newRow("settle without checkout") << "settle-without-checkout" << 255 << box("指定窗口尚未载入");
    QTest::newRow("amount due without checkout") << "amount-due-without-checkout" << 255 << box("指定窗口尚未载入");
    QTest::newRow("end bill without checkout")
        << "end-bill-without-checkout" << 255 << box("指定窗口或窗口组件不存在或尚未载入");
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

// The bill's text allocations ask for the bytes of the texts it passes
// through; each of them, made to fail in turn in a child process, ends in the
// error box naming those bytes, then status -1; none crashes or hangs.
void ExitPathsTest::every_failed_allocation_of_a_bill_is_fatal() {
    const std::vector<std::size_t> expected = tallaro::support::bill_allocations();
    QStringList counts;
    for (std::size_t bytes : expected) counts << QString::number(bytes);
    const auto [status, output] = bill_failing_at(0);
    QCOMPARE(status, 0);
    QCOMPARE(output, "requests: " + counts.join(' ') + '\n');
    for (std::size_t n = 1; n <= expected.size(); ++n) {
        const auto [failed_status, failed_output] = bill_failing_at(n);
        const QString message = QStringLiteral("错误信息：分配 %1 字节内存失败!").arg(expected[n - 1]);
        QVERIFY2(failed_status == 255 && failed_output.contains(message),
                 qPrintable(QStringLiteral("allocation %1: status %2, output %3").arg(n).arg(failed_status).arg(failed_output)));
    }
}

// A paste far larger than the memory left: pressing 确认 ends in the error
// box with the bytes that could not be had, then status -1, never in an
// escaping exception. The child limits its own address space after the
// paste, leaving 4 MB. Under AddressSanitizer the limit comes after its
// shadow memory is reserved, and its allocator is told to fail as the C
// library's would rather than abort the process.
void ExitPathsTest::huge_paste_under_a_memory_limit() {
    const qsizetype length = 4 << 20;
    QProcess child;
    run_child(child, QStringLiteral("huge-paste-%1-%2").arg(length).arg(4 << 20),
              {QStringLiteral("ASAN_OPTIONS=allocator_may_return_null=1")});
    QVERIFY(child.waitForFinished(120000));
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit, qPrintable(output + child.readAllStandardError()));
    QVERIFY2(output.startsWith(QStringLiteral("pasted: %1\ntitle: 错误\n").arg(length)), qPrintable(output));
    const QRegularExpressionMatch bytes =
        QRegularExpression(QStringLiteral("错误信息：分配 (\\d+) 字节内存失败!\\\\n")).match(output);
    QVERIFY2(bytes.hasMatch(), qPrintable(output));
    QVERIFY2(bytes.captured(1).toLongLong() > length, qPrintable(output));
    QVERIFY2(!output.contains("the entry ran to its end"), qPrintable(output));
    QCOMPARE(child.exitCode(), 255);
}

// Without a GBK converter the program cannot show its texts: it says so in
// the error box as it starts, and ends with status -1.
void ExitPathsTest::no_gbk_converter_is_fatal() {
    QProcess child;
    run_child(child, QStringLiteral("start"),
              {QStringLiteral("LD_PRELOAD=" TALLARO_NO_GBK_ICONV), QStringLiteral("ASAN_OPTIONS=verify_asan_link_order=0")});
    QVERIFY(child.waitForFinished(30000));
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit, qPrintable(output + child.readAllStandardError()));
    QCOMPARE(output, QStringLiteral("title: 错误\n"
                                    "text: 运行时出错!\\n\\n错误信息：no GBK converter: iconv cannot convert between "
                                    "GBK and UTF-8 (the C library's gconv modules are missing)\\n\n"
                                    "icon: error\n"));
    QCOMPARE(child.exitCode(), 255);
}

QTEST_GUILESS_MAIN(ExitPathsTest)
#include "exit_paths_test.moc"
