// The about box: its texts, logo and links.
#include <QEnterEvent>
#include <QGraphicsEffect>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/form2.h"
#include "app/widgets/link_label.h"
#include "app_harness.h"

using velmora::app::LinkLabel;
using velmora::app::TForm2;
using velmora::testing::FakeDesktop;

namespace {

QStringList label_texts(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            texts << label->text();
        }
    }
    return texts;
}

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT
  private slots:
    void shows_name_version_and_links();
    void logo_is_117_by_115_with_transparent_background();
    void links_look_like_links_and_glow_on_hover();
    void link_clicks_go_through_the_desktop_data();
    void link_clicks_go_through_the_desktop();
    void ok_closes_the_box();
};

void Form2Test::shows_name_version_and_links() {
    FakeDesktop desktop;
    TForm2 about(desktop);
    QCOMPARE(about.windowTitle(), QString("关于软件"));
    QCOMPARE(about.minimumSize(), QSize(406, 281));
    QCOMPARE(about.maximumSize(), QSize(406, 281));
    QVERIFY(!(about.windowFlags() & Qt::WindowCloseButtonHint));
    const QStringList texts = label_texts(about);
    for (const QString& expected :
         {QString("Velmora视频格式转换器"), QString("Ver:10.3.0.0"), QString("官方网站："),
          QString("E-MAIL："), QString(VELMORA_WEBSITE), QString(VELMORA_MAILBOX)}) {
        QVERIFY2(texts.contains(expected), qPrintable(expected));
    }
    const QList<QPushButton*> buttons = about.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons[0]->text(), QString("确定"));
}

void Form2Test::logo_is_117_by_115_with_transparent_background() {
    FakeDesktop desktop;
    TForm2 about(desktop);
    const QLabel* logo = about.findChild<QLabel*>("Image1");
    QVERIFY(logo != nullptr);
    const QImage picture = logo->pixmap().toImage();
    QCOMPARE(picture.size(), QSize(117, 115));
    QVERIFY(picture.hasAlphaChannel());
    QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
    QVERIFY(qAlpha(picture.pixel(58, 55)) > 200);
}

void Form2Test::links_look_like_links_and_glow_on_hover() {
    FakeDesktop desktop;
    TForm2 about(desktop);
    for (LinkLabel* link : {about.web_link(), about.mail_link()}) {
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(link->alignment(), Qt::AlignCenter);
        QVERIFY(!link->glowing());
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(link, &enter);
        QVERIFY(link->glowing());
        QVERIFY(link->graphicsEffect() != nullptr);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        QVERIFY(!link->glowing());
        QVERIFY(link->graphicsEffect() == nullptr);
    }
}

void Form2Test::link_clicks_go_through_the_desktop_data() {
    QTest::addColumn<bool>("mail");
    QTest::addColumn<QUrl>("expected");
    QTest::newRow("web site") << false << QUrl(VELMORA_WEBSITE);
    QTest::newRow("mailbox") << true << QUrl(QString("mailto:") + VELMORA_MAILBOX);
}

void Form2Test::link_clicks_go_through_the_desktop() {
    QFETCH(bool, mail);
    QFETCH(QUrl, expected);
    FakeDesktop desktop;
    TForm2 about(desktop);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(mail ? about.mail_link() : about.web_link(), Qt::LeftButton);
    QCOMPARE(desktop.opened, QList<QUrl>({expected}));
}

void Form2Test::ok_closes_the_box() {
    FakeDesktop desktop;
    TForm2 about(desktop);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.findChild<QPushButton*>(), Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
    QVERIFY(desktop.opened.isEmpty());
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
