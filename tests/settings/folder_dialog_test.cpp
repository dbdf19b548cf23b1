#include "settings/folder_dialog.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace velmora::settings {
namespace {

// Answers each showing with the next scripted result and records what it was shown with.
struct FakeChooser {
    std::deque<std::optional<QString>> answers;
    std::vector<QString> titles;
    std::vector<QString> start_folders;

    FolderDialog::Chooser chooser() {
        return [this](QWidget*, const QString& title, const QString& start) {
            titles.push_back(title);
            start_folders.push_back(start);
            auto answer = answers.front();
            answers.pop_front();
            return answer;
        };
    }
};

TEST(FolderDialog, OpensOnTheFolderLastConfirmedAndForgetsNothingOnCancel) {
    FakeChooser fake;
    fake.answers = {std::nullopt, QStringLiteral("/srv/输出"), std::nullopt,
                    QStringLiteral("/home/u/快照"), std::nullopt};
    FolderDialog dialog(fake.chooser());

    EXPECT_EQ(dialog.exec(nullptr), std::nullopt);
    EXPECT_EQ(dialog.exec(nullptr), QStringLiteral("/srv/输出"));
    EXPECT_EQ(dialog.exec(nullptr), std::nullopt);
    EXPECT_EQ(dialog.exec(nullptr), QStringLiteral("/home/u/快照"));
    EXPECT_EQ(dialog.exec(nullptr), std::nullopt);

    EXPECT_EQ(fake.start_folders,
              (std::vector<QString>{"/", "/", "/srv/输出", "/srv/输出", "/home/u/快照"}));
    EXPECT_EQ(fake.titles, std::vector<QString>(5, QStringLiteral("选择输出目录")));
    EXPECT_EQ(dialog.start_folder(), QStringLiteral("/home/u/快照"));
}

}  // namespace
}  // namespace velmora::settings
