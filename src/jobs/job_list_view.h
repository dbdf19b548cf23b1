// The job list `lvFiles`: a report-style list whose rows are the jobs, kept as texts.
#pragma once

#include <QStringList>
#include <QTableWidget>

#include "jobs/job_row.h"

namespace velmora::jobs {

class JobListView : public QTableWidget {
    Q_OBJECT
  public:
    explicit JobListView(QWidget* parent = nullptr);

    // Appends a row: the caption (input path), then the 24 sub-column texts in order.
    int append_row(const QString& caption, const QStringList& sub_columns);
    // Text of sub-column k of row r ("" for a row or column outside the list).
    QString cell(int row, int sub_column) const;
    // Replaces the text of sub-column k of row r, keeping position and selection.
    void set_cell(int row, int sub_column, const QString& text);
    // The row caption (input path) of row r.
    QString caption(int row) const;
    // Index of the selected row, or -1.
    int selected_index() const;
    int row_count() const { return rowCount(); }
    // Selects row r and makes it current.
    void select_row(int row);
    // Deletes row r.
    void delete_row(int row);
    // Removes every row.
    void clear_rows();
    // Exchanges the whole contents of rows a and b.
    void exchange_rows(int a, int b);
    // Row r as plain UTF-8 texts.
    JobRowTexts row_texts(int row) const;
};

}  // namespace velmora::jobs
