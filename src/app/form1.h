// The main window `TForm1`: the job list, the preset controls, the preview pane, the output
// folder row, the menus and the toolbar, and the routing of every command to its handler.
//
// The window's code is split by role:
//   form1.cpp                start-up order, dialogs, close
//   form1_layout.cpp         the controls and where they stand
//   form1_toolbar.cpp        the toolbar
//   form1_menus.cpp          the main menu and the Help commands
//   form1_groups.cpp         control groups and the run commands' buttons
//   form1_catalogue.cpp      the category and format selectors
//   form1_output_folder.cpp  the output folder row and the skin
//   form1_adding.cpp         the add commands, drops and files named at start-up
//   form1_run.cpp            task building, run control, progress and the after-done action
#pragma once

#include <QMainWindow>
#include <QString>

#include "app/add_dialogs.h"
#include "app/control_groups.h"
#include "convert/job_from_file.h"
#include "jobs/companion_table.h"
#include "platform/app_paths.h"
#include "platform/desktop_services.h"
#include "platform/message_boxes.h"
#include "presets/format_change.h"
#include "settings/ini_file.h"
#include "settings/skin.h"

class QAction;
class QLineEdit;
class QFrame;
class QGroupBox;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QToolBar;
class QToolButton;

namespace velmora::media {
class Encoder;
class Player;
enum class TPlayState;
}  // namespace velmora::media

namespace velmora::preview {
class ScreenPanel;
}

namespace velmora::settings {
class FolderDialog;
class TForm5;
enum class PictureType;
}  // namespace velmora::settings

namespace velmora::jobs {
class JobListView;
}

namespace velmora::app {

class ExitLineEdit;
class OptionComboBox;
class PassFocusLineEdit;
class PictureComboBox;
class TForm2;

// The program's title: the application name, the main window's caption, message box titles.
inline const QString kProgramTitle = QStringLiteral("Velmora视频格式转换器");

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    // Size of the area under the menu bar (toolbar and window body).
    static constexpr int kClientWidthPx = 804;
    static constexpr int kClientHeightPx = 541;

    // Builds the window and runs the start-up steps; the collaborators outlive the window.
    TForm1(const platform::AppPaths& paths, platform::DesktopServices& desktop,
           platform::MessageBoxes& boxes, settings::FolderDialog& folder_dialog,
           media::Encoder& encoder, QWidget* parent = nullptr);
    ~TForm1() override;

    // Takes the about box and the options dialog, created after this window, for the commands
    // that show them; paints them with the main skin and lets the options dialog drive the
    // encoder's preview switch.
    void attach_dialogs(TForm2& about, settings::TForm5& options);

    // --- control groups ------------------------------------------------------------------
    // The one place a group's controls are enabled or disabled.
    void set_group_enabled(ControlGroup group, GroupState state,
                           GroupReach reach = GroupReach::Whole);
    GroupState group_state(ControlGroup group) const { return groups_.state(group); }
    // Disables the Preset group (a run starts).
    void Button22Click();
    // Enables the Preset group (a run ends or is stopped).
    void Button23Click();

    // --- start-up routines ---------------------------------------------------------------
    // Marks every companion-table entry free ("kong").
    void Button15Click();
    // Reads the output folder from option.ini into the box and `FileOutPutPath`.
    void Button17Click();
    // Builds the filter of the open-file dialogs.
    void Button21Click();
    // Reads the skin index from option.ini and applies the skins.
    void Button3Click();
    // Fills the format selector for the selected category and selects its first format.
    void Button2Click();

    // --- catalogue -----------------------------------------------------------------------
    // The category selector changed: refills the format selector.
    void bsSkinOfficeComboBox2Change();
    // The format-change processing of the format selector.
    void bsSkinOfficeComboBox1Change();
    // (category index + 1) * 100 + format index of the two selectors.
    int current_preset_code() const;
    // How often the format-change processing ran (for tests).
    int format_changes_run() const { return format_changes_run_; }

    // --- output folder -------------------------------------------------------------------
    // "浏览...": chooses the output folder with the shared folder dialog.
    void bsSkinButton5Click();
    // "打开": opens the output folder, then gives the focus to the job list.
    void bsSkinButton6Click();
    // Saves `FileOutPutPath` as OutPath when that folder exists.
    void Button16Click();
    // Opens the folder in the output folder box in the file browser.
    void Button20Click();
    // The output folder in use; always the text of the output folder box.
    const QString& FileOutPutPath() const { return FileOutPutPath_; }

    // --- commands --------------------------------------------------------------------------
    // Adds one file.
    void btnAddClick();
    // Adds several files.
    void Button8Click();
    // Adds every file of a directory.
    void Button12Click();
    // Removes the selected job ("删除", "删除选择").
    void btnRemoveClick();
    // Clears the job list ("清空", "清空文件").
    void btnClearClick();
    // Moves the selected job up ("上移", "上移文件").
    void bsSkinButton3Click();
    // Moves the selected job down ("下移", "下移文件").
    void bsSkinButton4Click();
    // Renames the selected job's output ("重命名").
    void bsSkinButton21Click();
    // Renames the selected job's output ("重新命名").
    void N26Click();
    // Starts the run.
    void btnStartClick();
    // Stops the run.
    void btnStopClick();
    // Pauses the run.
    void btnPauseClick();
    // Resumes the run.
    void btnResumeClick();
    // Toolbar "暂停" and menu "暂停转换": pauses, then shows "继续" in place of "暂停".
    void PauseButtonClick();
    // Toolbar "继续" and menu "继续继续": resumes, then shows "暂停" in place of "继续".
    void ResumeButtonClick();
    // Toolbar "选项" and menu "选项设置": shows the options dialog modally.
    void btnOptionClick();
    // "帮助系统" (F1): opens the product's web site.
    void HelpSystemClick();
    // "官方网站": opens the product's web site.
    void WebSiteClick();
    // "联系邮箱": opens a new mail to the support mailbox.
    void MailClick();
    // "关于软件": shows the about box modally.
    void AboutClick();
    // The window moved (while moving and after): the preview re-places its video output.
    void FormWindowPosChanged();

    // --- presets: option lists, defaults, format change, rename (form1_presets.cpp) -----
    // Whom the defaults routine writes besides the current preset values.
    enum class DefaultsTarget {
        ValuesOnly,   // a file is being added: the selected job keeps its own settings
        SelectedRow,  // a format change: the selected job takes the defaults
    };
    // The current preset values (the Video_* fields).
    const presets::PresetValues& preset_values() const { return values_; }
    // Sets Video_AddFileName, the input whose output name the next defaults load derives.
    void set_add_file_name(const QString& input_file);
    // Resets the current preset values.
    void Button6Click();
    // Loads the current preset's defaults into the values and derives Video_OutPutFileName;
    // with DefaultsTarget::SelectedRow also writes the selected job's settings columns.
    void Button5Click(DefaultsTarget target);
    // Takes the entries the six option lists show into the current preset values.
    void Button13Click();
    // Refills the six option lists for the current preset and preselects their defaults.
    void Button18Click();
    // Resolution list changed: writes the choice into the selected job.
    void bsSkinComboBox1Change();
    // Video bitrate list changed: writes the choice into the selected job.
    void bsSkinComboBox2Change();
    // Audio bitrate list changed: writes the choice into the selected job.
    void bsSkinComboBox3Change();
    // Aspect mode list changed: writes the choice into the selected job.
    void bsSkinComboBox4Change();
    // Frame rate list changed: writes the choice into the selected job.
    void bsSkinComboBox9Change();
    // Sample rate list changed: writes the choice into the selected job.
    void bsSkinComboBox10Change();
    // The six lists' selected positions as the twelve OptionIndices characters.
    QString current_option_indices() const;
    // Puts a job's choices back into the controls: the category, the format, then the six
    // lists, each assignment handled as if the user had made it.
    void restore_job_choices(int preset_code, const QString& option_indices);
    // Double click on the job list: opens the output-name editor over the selected job.
    void lvFilesDblClick();
    // The output-name editor lost the focus: commits the typed name into the selected job.
    void edtExit();
    // The in-place output-name editor.
    QLineEdit* edt() const;

    // --- adding files, task building, run control, after-done (form1_adding.cpp, form1_run.cpp)
    // Replaces the dialogs of the add commands (tests answer them).
    void set_add_dialogs(AddDialogs dialogs);
    // The name filters of the open-file dialogs, as `Button21Click` built them.
    const QStringList& open_file_filters() const { return open_file_filters_; }
    // Adds files and folders named by a drop on the job list or on the command line: the
    // files as "添加多个文件" does, each folder as "添加整个目录" does. Nothing while the Add
    // group is disabled.
    void add_named_paths(const QStringList& named_paths);
    // Rebuilds the engine's task list from the job rows; false (after an error box naming the
    // row) when a row cannot become a task.
    bool button28Click();
    // Encoder progress notification: updates the task's row.
    void FFVCLProgress(const media::TProgressInfo& AProgressInfo);
    // Encoder task-end notification: finishes a row, or ends the run.
    void FFVCLTerminate(const media::TTerminateInfo& ATerminateInfo);
    // Shuts the computer down, letting other programs close normally.
    void Button25Click();
    // Plays "sounds/ring001.wav" of the data folder without waiting, when it exists.
    void Button29Click();

    // --- preview pane, snapshots, list editing (form1_preview.cpp, form1_editing.cpp) ----
    // Full path of the file the preview pane plays: the input of the job selected last.
    QString T_Movie_PLayer_FileName;
    // The list's selection changed: restores the selected job's choices and opens its input.
    void lvFilesSelectItem();
    // A click on the list: closes the previewed file when no row stays selected.
    void lvFilesClick();
    // Opens T_Movie_PLayer_FileName in the screen panel, paused.
    void Button31Click();
    // "播放": continues the paused preview.
    void bsSkinButton13Click();
    // "暂停": pauses the preview.
    void bsSkinButton14Click();
    // "停止": opens the selected job's input again, paused at its start.
    void bsSkinButton15Click();
    // "静音": silences the preview.
    void bsSkinButton16Click();
    // The muted "静音": turns the sound back on.
    void bsSkinButton20Click();
    // A mouse button pressed on the seek slider: holds the slider and pauses.
    void bsSkinSlider1MouseDown();
    // A mouse button released on the seek slider: seeks to the slider's point and plays.
    void bsSkinSlider1MouseUp();
    // The player opened a file: logs it, sets the display size and the slider's range.
    void FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                          int& AScreenHeight);
    // The player's playing time moved: the slider follows unless it is held.
    void FFPlayerPosition(int64_t APTS);
    // The player's state changed: logs it; a stop shows the logo, the end waits at the start.
    void FFPlayerState(media::TPlayState AState);
    // "快照": saves the shown picture into the snapshot folder.
    void bsSkinButton22Click();
    // Left press on "设置": shows the snapshot menu at the mouse cursor.
    void bsSkinButton23MouseDown();
    // "设置" clicked: marks the stored picture type in the menu.
    void bsSkinButton23Click();
    // "打开快照目录": opens the snapshot folder in the file browser.
    void MenuItem1Click();
    // "设置快照目录": chooses the snapshot folder with the shared folder dialog.
    void MenuItem2Click();
    // "BMP文件", "JPG文件", "GIF文件", "PNG文件": store and mark the picture type.
    void BMP1Click();
    void JPG1Click();
    void GIF1Click();
    void PNG1Click();
    // The preview player.
    media::Player& FFPlayer() { return *FFPlayer_; }
    // Duration of the file opened last, in microseconds (0 before any).
    int64_t FDuration() const { return FDuration_; }
    // The seek slider's drag flag: "Down" while a mouse button holds it, "UP" otherwise.
    const QString& bsSkinSlider1_down_UP() const { return bsSkinSlider1_down_UP_; }
    // The snapshot settings menu.
    QMenu* bsSkinPopupMenu2() const { return snapshot_menu_; }

    // Shows or hides the picture panel that covers the empty job list.
    void set_empty_list_panel_visible(bool visible);
    // Appends one line to the diagnostic log.
    void append_log(const QString& line);
    // The diagnostic log's whole text.
    QString log_text() const;

    // --- controls ------------------------------------------------------------------------
    jobs::JobListView* lvFiles() const { return lvFiles_; }
    jobs::CompanionTable& companion_table() { return companion_; }
    PictureComboBox* bsSkinOfficeComboBox2() const { return category_box_; }
    PictureComboBox* bsSkinOfficeComboBox1() const { return format_box_; }
    // Option list by name: 1 resolution, 2 video bitrate, 3 audio bitrate, 4 aspect mode,
    // 9 frame rate, 10 sample rate (nullptr for any other number).
    OptionComboBox* bsSkinComboBox(int number) const;
    PassFocusLineEdit* Video_OutPut_Folder_Edit() const { return folder_edit_; }
    QFrame* bsSkinPanel5() const { return empty_list_panel_; }
    preview::ScreenPanel* Panel6() const { return screen_panel_; }
    QSlider* bsSkinSlider1() const { return seek_slider_; }
    QPlainTextEdit* mmoLog() const { return log_; }
    QToolBar* main_tool_bar() const { return tool_bar_; }
    QToolButton* tool_button(const QString& object_name) const;
    QAction* action(const QString& object_name) const;
    media::Encoder& FFVCL() { return encoder_; }
    const settings::IniFile& ini() const { return ini_; }
    const platform::AppPaths& paths() const { return paths_; }
    const settings::SkinData& bsSkinData1() const { return bsSkinData1_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    // form1_layout.cpp
    void build_body();
    QWidget* build_list_area();
    QWidget* build_preset_panel();
    QWidget* build_preview_panel();
    QWidget* build_output_panel();
    void fix_client_size();
    // form1_toolbar.cpp
    void build_toolbar();
    // form1_menus.cpp
    void build_menus();
    // form1_groups.cpp
    void register_groups();
    void show_pause_button(bool pause_visible);
    // form1_catalogue.cpp
    void fill_category_selector();
    // form1_output_folder.cpp
    void set_output_folder(const QString& folder);
    void apply_second_skin();
    // form1.cpp
    void run_start_up_steps();
    // Detaches the notifications, stops the encoder and waits for its running tasks.
    void close_down();
    void focus_job_list();

    // presets state (form1_presets.cpp)
    // Which rows' output names count as taken when naming an output.
    enum class OtherRows { All, AllButSelected };
    // Connects the option lists, the job list's double click and the output-name editor.
    void connect_preset_controls();
    OptionComboBox* option_box(presets::OptionList list) const;
    presets::ShownTexts shown_option_texts() const;
    presets::OutputNaming output_naming(OtherRows others) const;
    presets::DefaultsRequest defaults_request(OtherRows others) const;
    // The steps all six change handlers share.
    void option_list_change(presets::OptionList list);
    // Refuses an output name the user typed; nothing when it may be used.
    QString refusal_of_output_name(int row, const QString& output_file) const;
    presets::PresetValues values_;
    ExitLineEdit* edt_ = nullptr;

    // adding and run state (form1_adding.cpp, form1_run.cpp)
    // Connects the job list's drops.
    void connect_adding_controls();
    // Loads the engine's libraries from the data folder's "LibAV" on first use.
    bool load_engine_libraries();
    // Adds files taken from the last to the first; false when the command stopped early.
    bool add_files_last_first(const QStringList& files);
    // The several-files and directory commands after their dialogs.
    void add_several_files(const QStringList& files);
    void add_directory(const QString& folder, int rows_before);
    // The per-file steps of adding.
    convert::AddOutcome add_one_file(const QString& file);
    // Selects the last row and focuses the list.
    void select_last_row();
    AddDialogs add_dialogs_;
    QStringList open_file_filters_;

    // preview and editing state (form1_preview.cpp, form1_editing.cpp)
    // Creates the player on the notification queue and connects the pane's controls.
    void connect_preview_controls();
    // Connects the snapshot button and the settings button's menu.
    void connect_snapshot_controls();
    // Detaches the player's events and ends its playback (the window is closing).
    void detach_preview();
    QAction* snapshot_item(const QString& object_name) const;
    // The snapshot folder and type, read anew with their write-backs; the type is marked.
    std::string resolve_snapshot_folder();
    settings::PictureType resolve_picture_type();
    void mark_picture_type(settings::PictureType type);
    // The picture type items: stores and marks a type.
    void choose_picture_type(settings::PictureType type);
    // Enables remove, rename, clear and start while the list has rows.
    void set_editing_controls(int rows);
    // The list became empty: the picture panel, the player closed, the slider at 0.
    void show_empty_list();
    // Exchanges the selected job with the one offset rows away and selects it.
    void move_selected_row(int offset);
    std::unique_ptr<media::Player> FFPlayer_;
    int player_source_ = 0;
    QWidget* FScreenControl = nullptr;
    int64_t FDuration_ = 0;
    QString bsSkinSlider1_down_UP_ = QStringLiteral("UP");
    settings::PictureType marked_picture_type_{};

    const platform::AppPaths& paths_;
    platform::DesktopServices& desktop_;
    platform::MessageBoxes& boxes_;
    settings::FolderDialog& folder_dialog_;
    media::Encoder& encoder_;
    settings::IniFile ini_;
    settings::SkinData bsSkinData1_;
    settings::SkinData bsSkinData2_;
    jobs::CompanionTable companion_;
    ControlGroups groups_;
    QString FileOutPutPath_;
    int format_changes_run_ = 0;
    bool closed_down_ = false;
    bool centred_ = false;

    TForm2* about_ = nullptr;
    settings::TForm5* options_ = nullptr;

    QToolBar* tool_bar_ = nullptr;
    QAction* pause_place_ = nullptr;   // the toolbar place of "暂停"
    QAction* resume_place_ = nullptr;  // the toolbar place of "继续"
    jobs::JobListView* lvFiles_ = nullptr;
    QFrame* empty_list_panel_ = nullptr;
    PictureComboBox* category_box_ = nullptr;
    PictureComboBox* format_box_ = nullptr;
    OptionComboBox* option_boxes_[6] = {};
    PassFocusLineEdit* folder_edit_ = nullptr;
    QPushButton* browse_button_ = nullptr;
    preview::ScreenPanel* screen_panel_ = nullptr;
    QSlider* seek_slider_ = nullptr;
    QMenu* snapshot_menu_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
};

}  // namespace velmora::app
