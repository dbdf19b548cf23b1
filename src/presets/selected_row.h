// The selected job row as the preset logic sees it: its input path and its sub-column texts.
#pragma once

#include <array>
#include <string>

#include "jobs/job_columns.h"

namespace velmora::presets {

// Access to the one selected row of the job list; the window adapts its list to it.
class SelectedRow {
  public:
    virtual ~SelectedRow() = default;
    // The row caption: the input file's full path.
    virtual std::string input_file() const = 0;
    // The text of a sub-column.
    virtual std::string text(jobs::JobColumn column) const = 0;
    // Replaces the text of a sub-column.
    virtual void set_text(jobs::JobColumn column, const std::string& text) = 0;
};

// A row kept as plain texts: for tests, and for callers that hold a row outside the list.
class RowTexts final : public SelectedRow {
  public:
    std::string input;
    std::array<std::string, jobs::kSubColumnCount> columns;

    std::string input_file() const override { return input; }
    std::string text(jobs::JobColumn column) const override {
        return columns[static_cast<size_t>(column)];
    }
    void set_text(jobs::JobColumn column, const std::string& text) override {
        columns[static_cast<size_t>(column)] = text;
    }
};

}  // namespace velmora::presets
