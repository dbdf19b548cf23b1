// The job record: its text encodings, the companion table and the list's row operations.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>

#include "jobs/companion_table.h"
#include "jobs/job_columns.h"
#include "jobs/job_list_view.h"
#include "jobs/text_format.h"

namespace velmora::jobs {
namespace {

TEST(TextFormat, TimesWrapHoursAtADay) {
    EXPECT_EQ(SecToDate(0), "00:00:00");
    EXPECT_EQ(SecToDate(3725), "01:02:05");
    EXPECT_EQ(SecToDate(90061), "01:01:01");
    EXPECT_EQ(duration_text(3'725'000'000), "01:02:05");
    EXPECT_EQ(duration_text(3'725'999'999), "01:02:05");  // truncated, not rounded
    EXPECT_EQ(duration_text(0), "N/A");
    EXPECT_EQ(duration_text(-5), "N/A");
}

TEST(TextFormat, MegabytesInShortestForm) {
    struct Case {
        int64_t bytes;
        const char* text;
    };
    const Case cases[] = {
        {12'949'914, "12.35MB"}, {5 * 1024 * 1024, "5MB"}, {0, "0MB"},
        {1'048'576, "1MB"},      {1'572'864, "1.5MB"},     {5242, "0MB"},
        // 0.125 MiB * 100 = 12.5, a half that rounds to the even 12.
        {131'072, "0.12MB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(megabyte_text(c.bytes), c.text) << c.bytes;
    }
}

TEST(TextFormat, ProgressPercentInIntegers) {
    EXPECT_EQ(progress_text(150'000'000, 600'000'000), "25%");
    EXPECT_EQ(progress_text(700, 600), "116%");
    EXPECT_EQ(progress_text(10, 0), "N/A");
}

TEST(CompanionTable, RowsTakeTheEntryAtTheirIndexAndMoveUpOnRemoval) {
    CompanionTable table;
    ASSERT_EQ(table.size(), 501u);
    for (int i = 0; i < 3; ++i) {
        media::TInputOptions in;
        in.FileName = "in" + std::to_string(i);
        EXPECT_EQ(table.take_first_free(in, {}), static_cast<size_t>(i));
    }
    table.remove(0);
    EXPECT_EQ(table.used(), 2u);
    EXPECT_EQ(table.at(0).IO1.FileName, "in1");
    EXPECT_EQ(table.at(1).IO1.FileName, "in2");
    EXPECT_EQ(table.at(2).SlotState, kSlotFree);
    EXPECT_EQ(table.take_first_free({}, {}), 2u);

    table.exchange(0, 1);
    EXPECT_EQ(table.at(0).IO1.FileName, "in2");
    table.mark_all_free();
    EXPECT_EQ(table.used(), 0u);
}

TEST(CompanionTable, A502ndRowGrowsTheTable) {
    CompanionTable table;
    for (size_t i = 0; i < 501; ++i) {
        ASSERT_EQ(table.take_first_free({}, {}), i);
    }
    media::TOutputOptions out;
    out.FileName = "row502";
    EXPECT_EQ(table.take_first_free({}, out), 501u);
    EXPECT_EQ(table.size(), 502u);
    EXPECT_EQ(table.at(501).OO1.FileName, "row502");
    table.remove(0);
    EXPECT_EQ(table.at(500).OO1.FileName, "row502");
    EXPECT_EQ(table.used(), 501u);
}

class JobListViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "jobs_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) {
            static QApplication app(argc, argv);
        }
    }
    static QStringList texts(const QString& prefix) {
        QStringList list;
        for (int k = 0; k < kSubColumnCount; ++k) {
            list << prefix + QString::number(k);
        }
        return list;
    }
};

TEST_F(JobListViewTest, ColumnsAndRowOperations) {
    JobListView view;
    ASSERT_EQ(view.columnCount(), 25);
    EXPECT_EQ(view.horizontalHeaderItem(0)->text(), QString("输入文件"));
    EXPECT_EQ(view.horizontalHeaderItem(OutputFile + 1)->text(), QString("输出文件"));
    EXPECT_EQ(view.horizontalHeaderItem(NormType + 1)->text(), QString("NormType"));
    EXPECT_EQ(view.columnWidth(Duration + 1), 70);
    EXPECT_TRUE(view.isColumnHidden(EncodeFps + 1));
    EXPECT_TRUE(view.isColumnHidden(TaskNumber + 1));
    EXPECT_EQ(view.horizontalHeader()->sectionResizeMode(PresetCode + 1), QHeaderView::Fixed);

    view.append_row("a.mp4", texts("a"));
    view.append_row("b.mp4", texts("b"));
    EXPECT_EQ(view.row_count(), 2);
    EXPECT_EQ(view.selected_index(), -1);
    view.select_row(1);
    EXPECT_EQ(view.selected_index(), 1);
    view.set_cell(1, Progress, "50%");
    EXPECT_EQ(view.selected_index(), 1);
    EXPECT_EQ(view.cell(1, Progress), QString("50%"));

    view.exchange_rows(0, 1);
    EXPECT_EQ(view.caption(0), QString("b.mp4"));
    EXPECT_EQ(view.cell(0, Progress), QString("50%"));
    EXPECT_EQ(view.cell(1, NormType), QString("a23"));
    view.delete_row(0);
    EXPECT_EQ(view.caption(0), QString("a.mp4"));
    view.clear_rows();
    EXPECT_EQ(view.row_count(), 0);
    EXPECT_EQ(view.cell(0, 0), QString());
}

}  // namespace
}  // namespace velmora::jobs
