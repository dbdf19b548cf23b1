// Job rows for window tests, appended through the job list's and the companion table's own row
// operations, and choosing a preset through the two selectors.
#pragma once

#include <QString>
#include <QStringList>

#include "app/form1.h"
#include "app/widgets/option_combo_box.h"
#include "app/widgets/picture_combo_box.h"
#include "jobs/job_columns.h"
#include "jobs/job_list_view.h"

namespace velmora::testing {

// Appends a job row: input path as caption, the output name, the task number, the preset code
// and the option indices; the setting columns stay empty. Returns the row index.
inline int append_job(app::TForm1& form, const QString& input_file, const QString& output_file,
                      int preset_code, const QString& option_indices) {
    QStringList columns;
    for (int k = 0; k < jobs::kSubColumnCount; ++k) {
        columns << QString();
    }
    columns[jobs::Duration] = QStringLiteral("00:00:10");
    columns[jobs::FileSize] = QStringLiteral("1MB");
    columns[jobs::OutputFile] = output_file;
    columns[jobs::TaskNumber] = QString::number(form.lvFiles()->row_count() + 1);
    columns[jobs::PresetCode] = QString::number(preset_code);
    columns[jobs::OptionIndices] = option_indices;
    media::TInputOptions input;
    input.FileName = input_file.toStdString();
    form.companion_table().take_first_free(input, media::TOutputOptions{});
    return form.lvFiles()->append_row(input_file, columns);
}

// Chooses a preset as the user does: its category, then (when not the first) its format.
inline void choose_preset(app::TForm1& form, int preset_code) {
    form.bsSkinOfficeComboBox2()->set_item_index(preset_code / 100 - 1);
    if (preset_code % 100 != 0) {
        form.bsSkinOfficeComboBox1()->set_item_index(preset_code % 100);
    }
}

// Picks the entry of that text in an option list, as the user does; false when there is none.
inline bool pick_entry(app::OptionComboBox* list, const QString& text) {
    for (int i = 0; i < list->item_count(); ++i) {
        if (list->item_text(i) == text) {
            list->set_item_index(i);
            return true;
        }
    }
    return false;
}

inline QString cell(app::TForm1& form, int row, jobs::JobColumn column) {
    return form.lvFiles()->cell(row, column);
}

}  // namespace velmora::testing
