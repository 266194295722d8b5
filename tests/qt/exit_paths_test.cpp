// How the program ends, seen from a parent process: its exit status and what
// the error box said.

#include <QProcess>
#include <QtTest>

class ExitPathsTest : public QObject {
    Q_OBJECT
private slots:
    void ends_data();
    void ends();
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

QTEST_GUILESS_MAIN(ExitPathsTest)
#include "exit_paths_test.moc"
