// The category selector `bsSkinOfficeComboBox2` and the format selector
// `bsSkinOfficeComboBox1`.
#include "app/form1.h"
#include "app/pictures.h"
#include "app/selected_row_adapter.h"
#include "app/widgets/picture_combo_box.h"
#include "jobs/job_list_view.h"
#include "presets/catalogue.h"

namespace velmora::app {
namespace {

QString text_of(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void TForm1::fill_category_selector() {
    category_box_->set_pictures(category_pictures());
    int k = 0;
    for (const presets::CategoryRow& row : presets::categories()) {
        category_box_->add_item(text_of(row.caption), k++);
    }
    // The selector starts on "常用视频"; the start-up steps fill the formats.
    category_box_->set_item_index(0);
    format_box_->set_pictures(format_pictures());
    connect(category_box_, &PictureComboBox::changed, this, &TForm1::bsSkinOfficeComboBox2Change);
    connect(format_box_, &PictureComboBox::changed, this, &TForm1::bsSkinOfficeComboBox1Change);
    connect_preset_controls();
}

void TForm1::Button2Click() {
    format_box_->clear_items();
    format_box_->update();
    const int k = category_box_->item_index();
    if (k >= 0 && k < presets::kCategoryCount) {
        int position = 0;
        for (std::string_view caption : presets::formats_of(k)) {
            format_box_->add_item(text_of(caption), position % 2);
            ++position;
        }
        format_box_->update();
    }
    format_box_->set_item_index(0);
}

void TForm1::bsSkinOfficeComboBox2Change() {
    Button2Click();
}

void TForm1::bsSkinOfficeComboBox1Change() {
    ++format_changes_run_;
    // The refill runs the change handlers of the lists whose shown text changes, so a selected
    // job receives those choices before it takes the new preset's defaults.
    Button18Click();
    const std::unique_ptr<ListRow> row = selected_row_of(*lvFiles_);
    presets::finish_format_change(defaults_request(OtherRows::AllButSelected), shown_option_texts(),
                                  values_, row.get());
    if (row != nullptr) {
        focus_job_list();
    }
}

int TForm1::current_preset_code() const {
    return presets::preset_code(category_box_->item_index(), format_box_->item_index());
}

}  // namespace velmora::app
