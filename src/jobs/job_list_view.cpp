#include "jobs/job_list_view.h"

#include <QHeaderView>

#include "jobs/job_columns.h"

namespace velmora::jobs {

JobListView::JobListView(QWidget* parent) : QTableWidget(parent) {
    setObjectName("lvFiles");
    setColumnCount(kSubColumnCount + 1);
    QStringList captions;
    for (const auto& column : kColumnSpecs) {
        captions << QString::fromUtf8(column.caption.data(),
                                      static_cast<qsizetype>(column.caption.size()));
    }
    setHorizontalHeaderLabels(captions);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    QHeaderView* header = horizontalHeader();
    header->setMinimumSectionSize(0);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    for (int column = 0; column <= kSubColumnCount; ++column) {
        const int width = kColumnSpecs[static_cast<size_t>(column)].width_px;
        if (width == 0) {
            // Hidden columns hold the job's settings; they cannot be widened.
            header->setSectionResizeMode(column, QHeaderView::Fixed);
            setColumnHidden(column, true);
        } else {
            header->setSectionResizeMode(column, QHeaderView::Interactive);
            setColumnWidth(column, width);
        }
    }
}

int JobListView::append_row(const QString& caption, const QStringList& sub_columns) {
    const int row = rowCount();
    insertRow(row);
    setItem(row, 0, new QTableWidgetItem(caption));
    for (int k = 0; k < kSubColumnCount; ++k) {
        setItem(row, k + 1,
                new QTableWidgetItem(k < sub_columns.size() ? sub_columns[k] : QString()));
    }
    return row;
}

QString JobListView::cell(int row, int sub_column) const {
    const QTableWidgetItem* entry = item(row, sub_column + 1);
    return entry ? entry->text() : QString();
}

void JobListView::set_cell(int row, int sub_column, const QString& text) {
    if (QTableWidgetItem* entry = item(row, sub_column + 1)) {
        entry->setText(text);
    }
}

QString JobListView::caption(int row) const {
    const QTableWidgetItem* entry = item(row, 0);
    return entry ? entry->text() : QString();
}

int JobListView::selected_index() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void JobListView::select_row(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    setCurrentCell(row, 0);
    selectRow(row);
}

void JobListView::delete_row(int row) {
    removeRow(row);
}

void JobListView::clear_rows() {
    setRowCount(0);
}

void JobListView::exchange_rows(int a, int b) {
    if (a == b || a < 0 || b < 0 || a >= rowCount() || b >= rowCount()) {
        return;
    }
    for (int column = 0; column < columnCount(); ++column) {
        QTableWidgetItem* first = takeItem(a, column);
        QTableWidgetItem* second = takeItem(b, column);
        setItem(a, column, second);
        setItem(b, column, first);
    }
}

JobRowTexts JobListView::row_texts(int row) const {
    JobRowTexts texts;
    texts.caption = caption(row).toStdString();
    for (int k = 0; k < kSubColumnCount; ++k) {
        texts.columns[static_cast<size_t>(k)] = cell(row, k).toStdString();
    }
    return texts;
}

}  // namespace velmora::jobs
