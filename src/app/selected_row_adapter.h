// The selected row of the job list as the preset logic's SelectedRow.
#pragma once

#include <memory>
#include <string>

#include "presets/selected_row.h"

namespace velmora::jobs {
class JobListView;
}

namespace velmora::app {

// One row of the job list, read and written through the list's own row operations.
class ListRow final : public presets::SelectedRow {
  public:
    ListRow(jobs::JobListView& list, int row) : list_(list), row_(row) {}

    std::string input_file() const override;
    std::string text(jobs::JobColumn column) const override;
    void set_text(jobs::JobColumn column, const std::string& text) override;
    int index() const { return row_; }

  private:
    jobs::JobListView& list_;
    int row_;
};

// The list's selected row, or nothing when no row is selected.
std::unique_ptr<ListRow> selected_row_of(jobs::JobListView& list);

}  // namespace velmora::app
