// The change event rules of the two combo boxes of ours.
#include <QSignalSpy>
#include <QTest>

#include "app/widgets/option_combo_box.h"
#include "app/widgets/picture_combo_box.h"

using velmora::app::OptionComboBox;
using velmora::app::PictureComboBox;

class WidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void picture_box_set_index_always_raises_change();
    void picture_box_refill_selects_nothing_and_raises_nothing();
    void picture_box_user_choice_raises_change_also_for_shown_item();
    void picture_box_items_carry_their_pictures();
    void option_box_raises_change_only_when_shown_text_changes_data();
    void option_box_raises_change_only_when_shown_text_changes();
    void option_box_clear_keeps_text_until_an_index_is_set();
    void option_box_user_choice_follows_text_rule();
    void option_box_change_runs_inside_the_call();
};

namespace {

void fill(PictureComboBox& box, const QStringList& captions) {
    for (int i = 0; i < captions.size(); ++i) {
        box.add_item(captions[i], i % 2);
    }
}

void fill(OptionComboBox& box, const QStringList& texts) {
    for (const QString& text : texts) {
        box.add_item(text);
    }
}

}  // namespace

void WidgetsTest::picture_box_set_index_always_raises_change() {
    PictureComboBox box;
    fill(box, {"a", "b", "c"});
    QSignalSpy spy(&box, &PictureComboBox::changed);
    box.set_item_index(1);
    box.set_item_index(1);
    box.set_item_index(0);
    box.set_item_index(7);
    QCOMPARE(spy.count(), 4);
    QCOMPARE(box.item_index(), -1);
}

void WidgetsTest::picture_box_refill_selects_nothing_and_raises_nothing() {
    PictureComboBox box;
    fill(box, {"a", "b"});
    box.set_item_index(1);
    QSignalSpy spy(&box, &PictureComboBox::changed);
    box.clear_items();
    fill(box, {"x", "y", "z"});
    QCOMPARE(spy.count(), 0);
    QCOMPARE(box.item_index(), -1);
    QCOMPARE(box.item_count(), 3);
    box.set_item_index(0);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(box.currentText(), QString("x"));
}

void WidgetsTest::picture_box_user_choice_raises_change_also_for_shown_item() {
    PictureComboBox box;
    fill(box, {"a", "b", "c"});
    box.set_item_index(0);
    QSignalSpy spy(&box, &PictureComboBox::changed);
    // The drop-down reports a pick as activated(), also for the item already shown.
    emit box.activated(0);
    QCOMPARE(spy.count(), 1);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.item_index(), 1);
    QCOMPARE(spy.count(), 2);
}

void WidgetsTest::picture_box_items_carry_their_pictures() {
    PictureComboBox box;
    QPixmap red(8, 8);
    red.fill(Qt::red);
    QPixmap blue(8, 8);
    blue.fill(Qt::blue);
    box.set_pictures({QIcon(red), QIcon(blue)});
    fill(box, {"a", "b", "c"});
    box.add_item("d", 5);
    QCOMPARE(box.item_picture(0), 0);
    QCOMPARE(box.item_picture(1), 1);
    QCOMPARE(box.item_picture(2), 0);
    QCOMPARE(box.item_picture(3), -1);
    QVERIFY(!box.itemIcon(1).isNull());
    QVERIFY(box.itemIcon(3).isNull());
}

void WidgetsTest::option_box_raises_change_only_when_shown_text_changes_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QList<int>>("indices");
    QTest::addColumn<QStringList>("texts_at_events");

    QTest::newRow("first selection") << QStringList{"a", "b"} << QList<int>{0} << QStringList{"a"};
    QTest::newRow("same index twice")
        << QStringList{"a", "b"} << QList<int>{1, 1} << QStringList{"b"};
    QTest::newRow("other index, same text")
        << QStringList{"25.00", "30", "25.00"} << QList<int>{0, 2, 1, 2}
        << QStringList{"25.00", "30", "25.00"};
    QTest::newRow("none blanks the text")
        << QStringList{"a", "b"} << QList<int>{0, -1, -1, 0} << QStringList{"a", "", "a"};
    QTest::newRow("outside the list blanks the text")
        << QStringList{"a"} << QList<int>{0, 4} << QStringList{"a", ""};
}

void WidgetsTest::option_box_raises_change_only_when_shown_text_changes() {
    QFETCH(QStringList, items);
    QFETCH(QList<int>, indices);
    QFETCH(QStringList, texts_at_events);
    OptionComboBox box;
    fill(box, items);
    QStringList seen;
    connect(&box, &OptionComboBox::changed, &box, [&] { seen << box.shown_text(); });
    for (int index : indices) {
        box.set_item_index(index);
    }
    QCOMPARE(seen, texts_at_events);
}

void WidgetsTest::option_box_clear_keeps_text_until_an_index_is_set() {
    OptionComboBox box;
    fill(box, {"保持原分辨率", "1280*720"});
    box.set_item_index(0);
    QSignalSpy spy(&box, &OptionComboBox::changed);

    box.clear_items();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(box.shown_text(), QString("保持原分辨率"));
    box.set_item_index(-1);  // an empty list has nothing to blank
    QCOMPARE(spy.count(), 0);

    fill(box, {"该格式无视频", "保持原分辨率"});
    QCOMPARE(spy.count(), 0);
    QCOMPARE(box.item_index(), -1);
    QCOMPARE(box.shown_text(), QString("保持原分辨率"));

    box.set_item_index(1);  // the same text at another position: no event
    QCOMPARE(spy.count(), 0);
    box.clear_items();
    fill(box, {"该格式无视频"});
    box.set_item_index(0);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(box.shown_text(), QString("该格式无视频"));
}

void WidgetsTest::option_box_user_choice_follows_text_rule() {
    OptionComboBox box;
    fill(box, {"a", "b", "b"});
    box.set_item_index(0);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    QSignalSpy spy(&box, &OptionComboBox::changed);
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(box.shown_text(), QString("b"));
    QTest::keyClick(&box, Qt::Key_Down);  // the next "b": the text stays
    QCOMPARE(box.item_index(), 2);
    QCOMPARE(spy.count(), 1);
}

void WidgetsTest::option_box_change_runs_inside_the_call() {
    OptionComboBox first;
    OptionComboBox second;
    fill(first, {"a", "b"});
    fill(second, {"x"});
    QStringList order;
    connect(&first, &OptionComboBox::changed, &first,
            [&] { order << "first:" + first.shown_text() + " second:" + second.shown_text(); });
    first.set_item_index(1);
    second.set_item_index(0);
    QCOMPARE(order, QStringList{"first:b second:"});
}

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
