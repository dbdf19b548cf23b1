// The compiled-in skins: index handling, clean style sheets, and what they paint.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include "settings/skin.h"

using velmora::settings::SkinData;

namespace {

QStringList g_warnings;

void record_warnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    // The offscreen platform's own notice is no fault of a style sheet.
    if (type != QtDebugMsg && type != QtInfoMsg && !text.contains("propagateSizeHints")) {
        g_warnings << text;
    }
}

// Mean lightness of a widget's background as painted: a strip just inside its left edge, in the
// middle third of its height, where no text is drawn.
int lightness_of(QWidget& w) {
    const QImage image = w.grab().toImage();
    long sum = 0;
    int n = 0;
    for (int y = image.height() / 3; y < image.height() * 2 / 3; ++y) {
        for (int x = 2; x < 5 && x < image.width(); ++x) {
            sum += image.pixelColor(x, y).lightness();
            ++n;
        }
    }
    return n == 0 ? -1 : static_cast<int>(sum / n);
}

// A main window with one control of each kind the skins cover.
struct SampleWindow {
    QMainWindow window;
    QToolBar* toolbar = nullptr;
    QToolButton* tool_button = nullptr;
    QComboBox* option_list = nullptr;
    QComboBox* plain_combo = nullptr;
    QPushButton* button = nullptr;
    QLineEdit* edit = nullptr;

    SampleWindow() {
        window.resize(640, 400);
        window.menuBar()->addMenu(QStringLiteral("文件"))->addAction(QStringLiteral("退出"));
        toolbar = window.addToolBar(QStringLiteral("tools"));
        toolbar->setObjectName(QStringLiteral("mainToolBar"));
        toolbar->addAction(QStringLiteral("添加"));
        toolbar->addSeparator();
        toolbar->addAction(QStringLiteral("开始"));
        tool_button =
            qobject_cast<QToolButton*>(toolbar->widgetForAction(toolbar->actions().first()));
        tool_button->setMinimumSize(60, 40);

        auto* central = new QWidget(&window);
        auto* column = new QVBoxLayout(central);
        auto* table = new QTableWidget(30, 4, central);
        table->setShowGrid(true);
        column->addWidget(table);
        auto* group = new QGroupBox(QStringLiteral("预置选项"), central);
        auto* row = new QHBoxLayout(group);
        option_list = new QComboBox(group);
        option_list->setObjectName(QStringLiteral("bsSkinComboBox3"));
        option_list->addItem(QStringLiteral("AUTO"));
        plain_combo = new QComboBox(group);
        plain_combo->setObjectName(QStringLiteral("bsSkinOfficeComboBox1"));
        plain_combo->addItem(QStringLiteral("常用视频"));
        button = new QPushButton(QStringLiteral("浏览..."), group);
        edit = new QLineEdit(QStringLiteral("/home/用户/输出"), group);
        edit->setReadOnly(true);
        row->addWidget(option_list);
        row->addWidget(plain_combo);
        row->addWidget(button);
        row->addWidget(edit);
        row->addWidget(new QCheckBox(QStringLiteral("预览"), group));
        row->addWidget(new QRadioButton(QStringLiteral("选项"), group));
        row->addWidget(new QLabel(QStringLiteral("输出目录："), group));
        column->addWidget(group);
        window.setCentralWidget(central);
        for (QWidget* w :
             {static_cast<QWidget*>(option_list), static_cast<QWidget*>(plain_combo)}) {
            w->setMinimumSize(120, 28);
        }
    }
};

}  // namespace

class SkinTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { g_warnings.clear(); }

    void mainSkinsLoadOnlyAnIndexTheListHolds() {
        SkinData skins = SkinData::main_skins();
        QCOMPARE(skins.count(), 1);
        QVERIFY(!skins.loaded());
        QCOMPARE(skins.index(), -1);
        QVERIFY(skins.style_sheet().isEmpty());

        QWidget w;
        w.setStyleSheet(QStringLiteral("QWidget { color: red; }"));
        for (int invalid : {5, 1, -1, -2}) {
            QVERIFY(!skins.set_skin_index(invalid));
            QVERIFY(!skins.loaded());
        }
        skins.apply_to(w);
        QCOMPARE(w.styleSheet(), QStringLiteral("QWidget { color: red; }"));

        QVERIFY(skins.set_skin_index(0));
        QVERIFY(skins.loaded());
        QCOMPARE(skins.index(), 0);
        QVERIFY(skins.style_sheet().contains(QStringLiteral("WenQuanYi Micro Hei")));
        skins.apply_to(w);
        QCOMPARE(w.styleSheet(), skins.style_sheet());

        QVERIFY(!skins.set_skin_index(1));  // ignored: the loaded skin stays
        QCOMPARE(skins.index(), 0);
        QCOMPARE(skins.style_sheet(), w.styleSheet());
    }

    void secondSkinsComeLoaded() {
        const SkinData skins = SkinData::second_skins();
        QCOMPARE(skins.count(), 1);
        QVERIFY(skins.loaded());
        QCOMPARE(skins.index(), 0);
        QVERIFY(!skins.style_sheet().isEmpty());
    }

    void everySheetParsesAndFindsItsPictures_data() {
        QTest::addColumn<QString>("sheet");
        SkinData main = SkinData::main_skins();
        main.set_skin_index(0);
        QTest::newRow("main") << main.style_sheet();
        QTest::newRow("second") << SkinData::second_skins().style_sheet();
    }

    void everySheetParsesAndFindsItsPictures() {
        QFETCH(QString, sheet);
        const QRegularExpression url(QStringLiteral(R"(url\((:[^)]+)\))"));
        for (const auto& match : url.globalMatch(sheet)) {
            QVERIFY2(QFile::exists(match.captured(1)), qPrintable(match.captured(1)));
            QVERIFY2(!QImage(match.captured(1)).isNull(), qPrintable(match.captured(1)));
        }
        const auto previous = qInstallMessageHandler(record_warnings);
        {
            SampleWindow sample;
            sample.window.setStyleSheet(sheet);
            sample.window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&sample.window));
            sample.window.grab();
        }
        qInstallMessageHandler(previous);
        QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join('\n')));
    }

    void theMainSkinIsDarkAndTheSecondPaintsItsControlsLight() {
        SampleWindow sample;
        SkinData main = SkinData::main_skins();
        QVERIFY(main.set_skin_index(0));
        main.apply_to(sample.window);
        sample.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sample.window));
        QVERIFY(lightness_of(sample.window) < 110);
        QVERIFY(lightness_of(*sample.option_list) < 110);
        QVERIFY(lightness_of(*sample.button) < 110);

        const SkinData second = SkinData::second_skins();
        second.apply_to(*sample.toolbar);
        second.apply_to(*sample.option_list);
        QVERIFY(lightness_of(*sample.option_list) > 180);
        QVERIFY(lightness_of(*sample.tool_button) > 180);
        QVERIFY(lightness_of(*sample.plain_combo) < 110);  // not one of the option lists
        QVERIFY(lightness_of(*sample.edit) < 110);
    }

    void withoutTheMainSkinTheSecondStillPaints() {
        SampleWindow sample;
        sample.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sample.window));
        const SkinData second = SkinData::second_skins();
        second.apply_to(*sample.toolbar);
        QVERIFY(lightness_of(*sample.tool_button) > 180);
        QVERIFY(sample.window.styleSheet().isEmpty());
    }
};

QTEST_MAIN(SkinTest)
#include "skin_test.moc"
