#include "app/selected_row_adapter.h"

#include <QString>

#include "jobs/job_list_view.h"

namespace velmora::app {

std::string ListRow::input_file() const {
    return list_.caption(row_).toStdString();
}

std::string ListRow::text(jobs::JobColumn column) const {
    return list_.cell(row_, column).toStdString();
}

void ListRow::set_text(jobs::JobColumn column, const std::string& text) {
    list_.set_cell(row_, column, QString::fromStdString(text));
}

std::unique_ptr<ListRow> selected_row_of(jobs::JobListView& list) {
    const int row = list.selected_index();
    if (row < 0) {
        return nullptr;
    }
    return std::make_unique<ListRow>(list, row);
}

}  // namespace velmora::app
