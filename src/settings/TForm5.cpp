#include "settings/TForm5.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/message_boxes.h"
#include "settings/settings_keys.h"
#include "settings/settings_rules.h"
#include "settings/skin.h"

namespace velmora::settings {
namespace {

constexpr int kClientWidth = 528;
constexpr int kClientHeight = 471;
constexpr int kThreadCountItems = 19;
constexpr int kThreadCountVisibleItems = 8;

const QString kErrorTitle = QStringLiteral("Velmora视频格式转换器");

// A framed group holding radio buttons, one per (caption, stored value), top to bottom.
QGroupBox* radio_group(const QString& caption,
                       std::initializer_list<std::pair<QString, int>> buttons, QButtonGroup* group,
                       QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(16, 14, 12, 12);
    column->setSpacing(12);
    for (const auto& [text, value] : buttons) {
        auto* radio = new QRadioButton(text, box);
        group->addButton(radio, value);
        column->addWidget(radio);
    }
    column->addStretch(1);
    return box;
}

}  // namespace

TForm5::TForm5(const IniFile& ini, platform::MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ini_(ini),
      boxes_(boxes) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("选项"));
    setFixedSize(kClientWidth, kClientHeight);
    build_controls();
    read_options();
}

void TForm5::build_controls() {
    after_done_group_ = new QButtonGroup(this);
    overwrite_group_ = new QButtonGroup(this);
    priority_group_ = new QButtonGroup(this);

    auto* after_done = radio_group(QStringLiteral("转换工作完成后"),
                                   {{QStringLiteral("自动打开输出文件夹"), 0},
                                    {QStringLiteral("自动关闭计算机"), 1},
                                    {QStringLiteral(" 播放提示音乐"), 2},
                                    {QStringLiteral("不进行任何操作"), 3}},
                                   after_done_group_, this);
    auto* overwrite = radio_group(
        QStringLiteral("如果输出文件存在时"),
        {{QStringLiteral("直接覆盖输出文件"), 0}, {QStringLiteral("自动重命名输出文件"), 1}},
        overwrite_group_, this);
    // On screen idle, lower, lowest, normal; stored as 0, 2, 1, 3.
    auto* priority = radio_group(QStringLiteral("转换时CPU利用方式"),
                                 {{QStringLiteral("系统空闲时进行"), 0},
                                  {QStringLiteral("较低优先级进行"), 2},
                                  {QStringLiteral("最低优先级进行"), 1},
                                  {QStringLiteral("正常优先级进行"), 3}},
                                 priority_group_, this);

    auto* parameters = new QGroupBox(QStringLiteral("转换参数"), this);
    auto* parameter_column = new QVBoxLayout(parameters);
    parameter_column->setContentsMargins(16, 14, 12, 12);
    parameter_column->setSpacing(8);
    parameter_column->addWidget(new QLabel(QStringLiteral("同时进行转换的文件个数"), parameters));
    thread_count_list_ = new QComboBox(parameters);
    thread_count_list_->setEditable(false);
    for (int i = 1; i <= kThreadCountItems; ++i) {
        thread_count_list_->addItem(QString::number(i));
    }
    thread_count_list_->setMaxVisibleItems(kThreadCountVisibleItems);
    parameter_column->addWidget(thread_count_list_);
    parameter_column->addSpacing(14);
    preview_box_ = new QCheckBox(QStringLiteral("转换时进行实时视频预览"), parameters);
    parameter_column->addWidget(preview_box_);
    parameter_column->addStretch(1);

    ok_button_ = new QPushButton(QStringLiteral("确定"), this);
    cancel_button_ = new QPushButton(QStringLiteral("取消"), this);
    ok_button_->setDefault(true);
    for (QPushButton* button : {ok_button_, cancel_button_}) {
        button->setMinimumWidth(80);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_button_);
    buttons->addWidget(cancel_button_);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(12);
    grid->addWidget(after_done, 0, 0);
    grid->addWidget(overwrite, 0, 1);
    grid->addWidget(priority, 1, 0);
    grid->addWidget(parameters, 1, 1);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(1, 1);

    // Design state.
    after_done_group_->button(0)->setChecked(true);
    overwrite_group_->button(1)->setChecked(true);
    priority_group_->button(3)->setChecked(true);
    thread_count_list_->setCurrentIndex(0);

    const SkinData second_skin = SkinData::second_skins();
    for (QButtonGroup* group : {after_done_group_, overwrite_group_, priority_group_}) {
        for (QAbstractButton* radio : group->buttons()) {
            second_skin.apply_to(*radio);
        }
    }

    connect(preview_box_, &QCheckBox::toggled, this, &TForm5::previewSwitched);
    connect(ok_button_, &QPushButton::clicked, this, &TForm5::bsSkinButton1Click);
    connect(cancel_button_, &QPushButton::clicked, this, &TForm5::bsSkinButton2Click);
}

void TForm5::read_options() {
    try {
        thread_count_list_->setCurrentIndex(read_thread_count_item(ini_) - 1);
        after_done_group_->button(static_cast<int>(read_after_done(ini_)))->setChecked(true);
        priority_group_->button(static_cast<int>(read_thread_priority(ini_)))->setChecked(true);
        overwrite_group_->button(static_cast<int>(read_overwrite_file(ini_)))->setChecked(true);
        set_preview_checked(read_show_preview(ini_));
    } catch (const SettingsWriteError& error) {
        boxes_.error(parentWidget(), kErrorTitle, QString::fromUtf8(error.what()));
    }
}

void TForm5::set_preview_checked(bool on) {
    {
        const QSignalBlocker quiet(preview_box_);
        preview_box_->setChecked(on);
    }
    emit previewSwitched(on);
}

QString TForm5::thread_count_text() const {
    return thread_count_list_->currentText();
}

media::TThreadPriority TForm5::thread_priority() const {
    return static_cast<media::TThreadPriority>(priority_group_->checkedId());
}

AfterDone TForm5::after_done() const {
    return static_cast<AfterDone>(after_done_group_->checkedId());
}

bool TForm5::overwrite_chosen() const {
    return overwrite_group_->checkedId() == static_cast<int>(ExistingOutput::Overwrite);
}

bool TForm5::preview_checked() const {
    return preview_box_->isChecked();
}

void TForm5::showEvent(QShowEvent* event) {
    if (QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->window()->frameGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void TForm5::bsSkinButton1Click() {
    try {
        ini_.write(keys::kOptions, keys::kThreadCount, thread_count_text().toStdString());
        ini_.write(keys::kOptions, keys::kAfterDone, after_done_text(after_done()));
        ini_.write(keys::kOptions, keys::kShowPreview, show_preview_text(preview_checked()));
        ini_.write(keys::kOptions, keys::kThreadPriority, thread_priority_text(thread_priority()));
        ini_.write(keys::kOptions, keys::kOverwriteFile,
                   overwrite_file_text(overwrite_chosen() ? ExistingOutput::Overwrite
                                                          : ExistingOutput::Rename));
    } catch (const SettingsWriteError& error) {
        boxes_.error(this, kErrorTitle, QString::fromUtf8(error.what()));
        return;
    }
    accept();
}

void TForm5::bsSkinButton2Click() {
    reject();
}

}  // namespace velmora::settings
