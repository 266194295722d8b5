// The forms' faces as start-up maps them: each draws with the installed
// family meant for it, the sales log's face with digits as wide as capitals,
// so that amounts line up.

#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

#include "app/startup.h"

class FontsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tallaro::prepare_fonts(); }
    void form_faces_data();
    void form_faces();
};

void FontsTest::form_faces_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("monospaced");
    QTest::newRow("新宋体") << "新宋体" << "WenQuanYi Micro Hei Mono" << true;
    QTest::newRow("微软雅黑") << "微软雅黑" << "WenQuanYi Micro Hei" << false;
    QTest::newRow("default control font") << QApplication::font().family() << "WenQuanYi Micro Hei" << false;
}

void FontsTest::form_faces() {
    QFETCH(QString, face);
    QFETCH(QString, family);
    QFETCH(bool, monospaced);
    for (int weight : {QFont::Normal, QFont::Bold}) {
        QFont font(face);
        font.setPixelSize(16);
        font.setWeight(QFont::Weight(weight));
        QCOMPARE(QFontInfo(font).family(), family);
        const QFontMetrics m(font);
        QCOMPARE(m.horizontalAdvance(QStringLiteral("1")) == m.horizontalAdvance(QStringLiteral("W")), monospaced);
    }
}

QTEST_MAIN(FontsTest)
#include "fonts_test.moc"
