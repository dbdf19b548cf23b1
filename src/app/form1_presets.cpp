// The current preset values, the six option lists and their change handlers, and putting a
// job's stored choices back into the controls.
#include <QFileInfo>
#include <QLineEdit>

#include "app/form1.h"
#include "app/selected_row_adapter.h"
#include "app/widgets/exit_line_edit.h"
#include "app/widgets/option_combo_box.h"
#include "app/widgets/pass_focus_line_edit.h"
#include "app/widgets/picture_combo_box.h"
#include "jobs/job_list_view.h"
#include "presets/catalogue.h"
#include "presets/option_values.h"
#include "settings/TForm5.h"

namespace velmora::app {
namespace {

using presets::OptionList;

// The window's number of the combo box that holds a list (bsSkinComboBox1, 2, 9, 3, 10, 4).
int box_number(OptionList list) {
    switch (list) {
        case OptionList::Resolution:
            return 1;
        case OptionList::VideoBitrate:
            return 2;
        case OptionList::FrameRate:
            return 9;
        case OptionList::AudioBitrate:
            return 3;
        case OptionList::SampleRate:
            return 10;
        case OptionList::Aspect:
            return 4;
    }
    return 1;
}

QString text_of(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void TForm1::connect_preset_controls() {
    connect(option_box(OptionList::Resolution), &OptionComboBox::changed, this,
            &TForm1::bsSkinComboBox1Change);
    connect(option_box(OptionList::VideoBitrate), &OptionComboBox::changed, this,
            &TForm1::bsSkinComboBox2Change);
    connect(option_box(OptionList::FrameRate), &OptionComboBox::changed, this,
            &TForm1::bsSkinComboBox9Change);
    connect(option_box(OptionList::AudioBitrate), &OptionComboBox::changed, this,
            &TForm1::bsSkinComboBox3Change);
    connect(option_box(OptionList::SampleRate), &OptionComboBox::changed, this,
            &TForm1::bsSkinComboBox10Change);
    connect(option_box(OptionList::Aspect), &OptionComboBox::changed, this,
            &TForm1::bsSkinComboBox4Change);

    connect(lvFiles_, &jobs::JobListView::doubleClicked, this, &TForm1::lvFilesDblClick);
    edt_ = new ExitLineEdit(lvFiles_->viewport());
    edt_->setObjectName(QStringLiteral("edt"));
    edt_->hide();
    connect(edt_, &ExitLineEdit::exited, this, &TForm1::edtExit);
    // The name typed belongs to the job the editor was opened for: once another job is selected
    // or rows go away (commands that leave the focus in the editor), the edit is dropped instead
    // of landing in another job.
    connect(lvFiles_, &QTableWidget::itemSelectionChanged, edt_, &QWidget::hide);
    connect(lvFiles_->model(), &QAbstractItemModel::rowsRemoved, edt_, &QWidget::hide);
}

OptionComboBox* TForm1::option_box(OptionList list) const {
    return bsSkinComboBox(box_number(list));
}

presets::ShownTexts TForm1::shown_option_texts() const {
    presets::ShownTexts shown;
    for (OptionList list : presets::kOptionLists) {
        shown[static_cast<size_t>(list)] = option_box(list)->shown_text().toStdString();
    }
    return shown;
}

presets::OutputNaming TForm1::output_naming(OtherRows others) const {
    presets::OutputNaming naming;
    naming.output_folder = folder_edit_->text().toStdString();
    // Until the options dialog is attached its default choice holds: rename.
    naming.existing = options_ != nullptr && options_->overwrite_chosen()
                          ? presets::ExistingOutput::Overwrite
                          : presets::ExistingOutput::Rename;
    naming.path_exists = [](const std::string& path) {
        return QFileInfo::exists(QString::fromStdString(path));
    };
    const int selected = lvFiles_->selected_index();
    for (int row = 0; row < lvFiles_->row_count(); ++row) {
        if (others == OtherRows::AllButSelected && row == selected) {
            continue;
        }
        naming.names_in_use.insert(lvFiles_->cell(row, jobs::OutputFile).toStdString());
    }
    return naming;
}

presets::DefaultsRequest TForm1::defaults_request(OtherRows others) const {
    return {current_preset_code(), values_.Video_AddFileName, output_naming(others)};
}

void TForm1::set_add_file_name(const QString& input_file) {
    values_.Video_AddFileName = input_file.toStdString();
}

void TForm1::Button6Click() {
    presets::Button6Click(values_);
}

void TForm1::Button5Click(DefaultsTarget target) {
    // While a file is being added the selected job is another one: it keeps its settings.
    if (target == DefaultsTarget::ValuesOnly) {
        presets::Button5Click(defaults_request(OtherRows::All), values_, nullptr);
        return;
    }
    const std::unique_ptr<ListRow> row = selected_row_of(*lvFiles_);
    presets::Button5Click(defaults_request(OtherRows::AllButSelected), values_, row.get());
}

void TForm1::Button13Click() {
    presets::Button13Click(shown_option_texts(), values_);
}

void TForm1::Button18Click() {
    for (const presets::ListStep& step : presets::Button18Click(current_preset_code())) {
        OptionComboBox* box = option_box(step.list);
        switch (step.kind) {
            case presets::ListStepKind::Clear:
                box->clear_items();
                break;
            case presets::ListStepKind::Enable:
                // While a run keeps the Preset group off, selecting a job must not turn the
                // lists back on: the jobs' tasks are already built.
                box->setEnabled(group_state(ControlGroup::Preset) == GroupState::Enabled);
                break;
            case presets::ListStepKind::Fill:
                for (std::string_view item : step.items) {
                    box->add_item(text_of(item));
                }
                break;
            case presets::ListStepKind::Select:
                // A change of the shown text runs the list's change handler right here.
                box->set_item_index(step.position);
                break;
            case presets::ListStepKind::Disable:
                box->setEnabled(false);
                break;
        }
    }
}

void TForm1::option_list_change(OptionList list) {
    const std::unique_ptr<ListRow> row = selected_row_of(*lvFiles_);
    const OptionComboBox* box = option_box(list);
    presets::option_list_changed(list, box->item_index(), box->shown_text().toStdString(), values_,
                                 row.get());
    if (row != nullptr) {
        focus_job_list();
    }
}

void TForm1::bsSkinComboBox1Change() {
    option_list_change(OptionList::Resolution);
}

void TForm1::bsSkinComboBox2Change() {
    option_list_change(OptionList::VideoBitrate);
}

void TForm1::bsSkinComboBox3Change() {
    option_list_change(OptionList::AudioBitrate);
}

void TForm1::bsSkinComboBox4Change() {
    option_list_change(OptionList::Aspect);
}

void TForm1::bsSkinComboBox9Change() {
    option_list_change(OptionList::FrameRate);
}

void TForm1::bsSkinComboBox10Change() {
    option_list_change(OptionList::SampleRate);
}

QString TForm1::current_option_indices() const {
    std::array<int, presets::kOptionListCount> positions{};
    for (OptionList list : presets::kOptionLists) {
        positions[static_cast<size_t>(list)] = option_box(list)->item_index();
    }
    return QString::fromStdString(presets::option_indices_text(positions));
}

void TForm1::restore_job_choices(int preset_code, const QString& option_indices) {
    // A code or a choice the catalogue does not hold ends the restoring; what was set stays.
    if (!presets::is_preset_code(preset_code)) {
        return;
    }
    category_box_->set_item_index(preset_code / 100 - 1);
    format_box_->set_item_index(preset_code % 100);
    const std::array<int, presets::kOptionListCount> positions =
        presets::parse_option_indices(option_indices.toStdString());
    for (OptionList list : presets::kComboBoxOrder) {
        OptionComboBox* box = option_box(list);
        const int position = positions[static_cast<size_t>(list)];
        if (position < 0 || position >= box->item_count()) {
            return;
        }
        box->set_item_index(position);
    }
}

}  // namespace velmora::app
