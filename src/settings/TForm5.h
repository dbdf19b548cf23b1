// `TForm5`: the options dialog "选项". Its controls are the live run options; option.ini keeps
// their saved copy, read once when the dialog is created and written on OK.
#pragma once

#include <QDialog>

#include "media/options.h"
#include "settings/ini_file.h"
#include "settings/run_options.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace velmora::platform {
class MessageBoxes;
}

namespace velmora::settings {

class TForm5 : public QDialog {
    Q_OBJECT
  public:
    // Builds the dialog in its design state, then reads Thread_Count, After_Done,
    // Thread_Priority, Overwrite_File and Show_Preview into the controls, writing defaults back
    // as needed. A write that fails ends the read at that key (the remaining controls keep their
    // design state) and is shown through boxes.
    TForm5(const IniFile& ini, platform::MessageBoxes& boxes, QWidget* parent = nullptr);

    // The thread-count list's text, "1" to "19".
    QString thread_count_text() const;
    // The selected "转换时CPU利用方式" button.
    media::TThreadPriority thread_priority() const;
    // The selected "转换工作完成后" button.
    AfterDone after_done() const;
    // Whether "直接覆盖输出文件" is selected.
    bool overwrite_chosen() const;
    // Whether "转换时进行实时视频预览" is checked.
    bool preview_checked() const;

  signals:
    // The preview box was set, by the start-up read or by a click.
    void previewSwitched(bool on);

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    // "确定": saves the five options, then closes; a failed write keeps the dialog open.
    void bsSkinButton1Click();
    // "取消": closes without saving; the controls keep what the user set.
    void bsSkinButton2Click();

  private:
    void build_controls();
    // The start-up read of the five options, in file order.
    void read_options();
    // Sets the preview box and tells the listeners.
    void set_preview_checked(bool on);

    IniFile ini_;  // a copy: the dialog outlives whoever built it
    platform::MessageBoxes& boxes_;

    QButtonGroup* after_done_group_ = nullptr;
    QButtonGroup* overwrite_group_ = nullptr;
    QButtonGroup* priority_group_ = nullptr;
    QComboBox* thread_count_list_ = nullptr;
    QCheckBox* preview_box_ = nullptr;
    QPushButton* ok_button_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
};

}  // namespace velmora::settings
