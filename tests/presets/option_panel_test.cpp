// The refill plan of the six option lists and the change events it raises.
#include <gtest/gtest.h>

#include <vector>

#include "presets/option_panel.h"

namespace velmora::presets {
namespace {

using L = OptionList;
using K = ListStepKind;

// Refills the panel for a code and returns the lists whose change event ran, in order.
std::vector<OptionList> refill(OptionPanel& panel, int code) {
    std::vector<OptionList> changed;
    replay(Button18Click(code), panel, [&](OptionList list) { changed.push_back(list); });
    return changed;
}

TEST(OptionPlan, OrderOfClearingEnablingFillingAndPreselecting) {
    const auto plan = Button18Click(100);
    const std::vector<std::pair<K, L>> expected = {
        {K::Clear, L::Resolution},    {K::Clear, L::VideoBitrate},  {K::Clear, L::AudioBitrate},
        {K::Clear, L::Aspect},        {K::Clear, L::FrameRate},     {K::Clear, L::SampleRate},
        {K::Enable, L::Resolution},   {K::Enable, L::VideoBitrate}, {K::Enable, L::AudioBitrate},
        {K::Enable, L::Aspect},       {K::Enable, L::FrameRate},    {K::Enable, L::SampleRate},
        {K::Fill, L::Resolution},     {K::Select, L::Resolution},   {K::Fill, L::VideoBitrate},
        {K::Select, L::VideoBitrate}, {K::Fill, L::FrameRate},      {K::Select, L::FrameRate},
        {K::Fill, L::AudioBitrate},   {K::Select, L::AudioBitrate}, {K::Fill, L::SampleRate},
        {K::Select, L::SampleRate},   {K::Fill, L::Aspect},         {K::Select, L::Aspect},
    };
    ASSERT_EQ(plan.size(), expected.size());
    for (size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(plan[i].kind, expected[i].first) << i;
        EXPECT_EQ(plan[i].list, expected[i].second) << i;
    }
    EXPECT_EQ(plan[12].items.size(), 28u);  // R1
    EXPECT_EQ(plan[13].position, 0);
    EXPECT_EQ(plan[15].position, 3);  // V1: "816 kbps"
    EXPECT_EQ(plan[17].position, 9);  // F1: "25.00"

    // An audio-only preset ends by disabling four lists, in this order.
    const auto audio = Button18Click(200);
    ASSERT_EQ(audio.size(), expected.size() + 4);
    const L disabled[] = {L::Resolution, L::VideoBitrate, L::Aspect, L::FrameRate};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(audio[expected.size() + i].kind, K::Disable);
        EXPECT_EQ(audio[expected.size() + i].list, disabled[i]);
    }
    // A code without a row only clears and enables.
    EXPECT_EQ(Button18Click(115).size(), 12u);
    EXPECT_EQ(combo_box_name(L::FrameRate), "bsSkinComboBox9");
    EXPECT_EQ(combo_box_name(L::SampleRate), "bsSkinComboBox10");
    EXPECT_EQ(combo_box_name(L::Aspect), "bsSkinComboBox4");
}

TEST(OptionPlan, PreselectedEntriesAndEnabledLists) {
    struct Case {
        int code;
        ShownTexts shown;  // resolution, video bitrate, frame rate, audio bitrate, rate, aspect
        bool video_enabled;
    };
    const Case cases[] = {
        {100, {"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}, true},
        {200, {"该格式无视频", "无视频", "无视频", "128 kbps", "44100", "无视频"}, false},
        {409, {"640*480", "1200 kbps", "25.00", "128 kbps", "48000", "保持原视频模式"}, true},
        {410, {"640*480", "600 kbps", "25.00", "128 kbps", "48000", "保持原视频模式"}, true},
        {411, {"640*272", "768 kbps", "25.00", "128 kbps", "48000", "宽屏视频16:9模式"}, true},
        {412, {"320*240", "768 kbps", "25.00", "128 kbps", "48000", "保持原视频模式"}, true},
        {413, {"480*320", "768 kbps", "25.00", "128 kbps", "48000", "保持原视频模式"}, true},
        {212, {"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}, false},
        {100, {"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}, true},
    };
    OptionPanel panel;
    for (const auto& c : cases) {
        refill(panel, c.code);
        EXPECT_EQ(panel.shown_texts(), c.shown) << c.code;
        for (L list : {L::Resolution, L::VideoBitrate, L::FrameRate, L::Aspect}) {
            EXPECT_EQ(panel.enabled(list), c.video_enabled) << c.code;
        }
        EXPECT_TRUE(panel.enabled(L::AudioBitrate));
        EXPECT_TRUE(panel.enabled(L::SampleRate));
        const auto row = *find_option_row(c.code);
        for (L list : kOptionLists) {
            EXPECT_EQ(panel.position(list), row[list].preselected) << c.code;
            EXPECT_EQ(panel.list(list).items.size(), row[list].contents->items.size());
        }
    }
}

TEST(OptionPlan, ChangeEventsRunOnlyWhenTheShownTextChanges) {
    OptionPanel panel;
    EXPECT_EQ(refill(panel, 100), (std::vector<L>{L::Resolution, L::VideoBitrate, L::FrameRate,
                                                  L::AudioBitrate, L::SampleRate, L::Aspect}));
    // The same preset again: every list shows the same text.
    EXPECT_TRUE(refill(panel, 100).empty());
    // 200 keeps "128 kbps" and "44100": only the four video lists change.
    EXPECT_EQ(refill(panel, 200),
              (std::vector<L>{L::Resolution, L::VideoBitrate, L::FrameRate, L::Aspect}));
    // 100 to 400: "25.00" moves from position 9 of F1 to 7 of F5 without an event.
    refill(panel, 100);
    const auto changed = refill(panel, 400);
    EXPECT_EQ(std::count(changed.begin(), changed.end(), L::FrameRate), 0);
    EXPECT_EQ(panel.position(L::FrameRate), 7);
    EXPECT_EQ(panel.shown_text(L::FrameRate), "25.00");
}

TEST(OptionPanelModel, ClearingKeepsTheShownTextAndPositionsFollowTheRules) {
    OptionPanel panel;
    refill(panel, 100);
    EXPECT_FALSE(panel.apply({K::Clear, L::VideoBitrate}));
    EXPECT_EQ(panel.shown_text(L::VideoBitrate), "816 kbps");
    EXPECT_EQ(panel.position(L::VideoBitrate), -1);
    // Nothing to select in an empty list.
    EXPECT_FALSE(panel.set_position(L::VideoBitrate, 2));
    EXPECT_EQ(panel.shown_text(L::VideoBitrate), "816 kbps");
    // A user's pick: an event only for a new text.
    EXPECT_TRUE(panel.set_position(L::Resolution, 19));
    EXPECT_EQ(panel.shown_text(L::Resolution), "1280*720");
    EXPECT_FALSE(panel.set_position(L::Resolution, 19));
    // R1 lists "1920*1200" at 24 and 25: moving between them is no change of text.
    EXPECT_TRUE(panel.set_position(L::Resolution, 24));
    EXPECT_FALSE(panel.set_position(L::Resolution, 25));
    EXPECT_EQ(panel.position(L::Resolution), 25);
    // Outside the entries blanks the text.
    EXPECT_TRUE(panel.set_position(L::Resolution, 99));
    EXPECT_EQ(panel.shown_text(L::Resolution), "");
    EXPECT_EQ(panel.position(L::Resolution), -1);
    EXPECT_FALSE(panel.set_position(L::Resolution, -1));
}

}  // namespace
}  // namespace velmora::presets
