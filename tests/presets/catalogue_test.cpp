// The catalogue: sizes, codes and their decoding, and the extension rule.
#include <gtest/gtest.h>

#include "presets/catalogue.h"

namespace velmora::presets {
namespace {

TEST(Catalogue, CategoriesHoldTheListedNumberOfFormats) {
    const int expected[kCategoryCount] = {15, 13, 10, 14, 15, 5,  14, 5,  10, 8,  5,  4,  11, 11,
                                          7,  7,  7,  7,  7,  12, 6,  13, 13, 15, 16, 13, 12, 13};
    int total = 0;
    ASSERT_EQ(categories().size(), static_cast<size_t>(kCategoryCount));
    for (int k = 0; k < kCategoryCount; ++k) {
        EXPECT_EQ(static_cast<int>(formats_of(k).size()), expected[k]) << k;
        total += static_cast<int>(formats_of(k).size());
    }
    EXPECT_EQ(total, kPresetCount);
    EXPECT_EQ(categories()[0].caption, "常用视频");
    EXPECT_EQ(categories()[27].caption, "网络机顶盒");
    EXPECT_TRUE(formats_of(28).empty());
    EXPECT_TRUE(formats_of(-1).empty());
}

TEST(Catalogue, CodesAndTheirDecoding) {
    EXPECT_EQ(preset_code(0, 0), 100);
    EXPECT_EQ(preset_code(27, 12), 2812);
    EXPECT_EQ(preset_code(24, 15), 2515);
    const auto d = decode_preset_code(2515);
    EXPECT_EQ(d.category, 24);
    EXPECT_EQ(d.format, 15);
    EXPECT_EQ(decode_preset_code(100).category, 0);
    EXPECT_EQ(decode_preset_code(100).format, 0);
    EXPECT_TRUE(is_preset_code(2812));
    for (int gap : {115, 199, 213, 299, 2813, 99, 0, 2900}) {
        EXPECT_FALSE(is_preset_code(gap)) << gap;
        EXPECT_FALSE(format_caption(gap).has_value()) << gap;
    }
    int codes = 0;
    for (int code = 0; code < 3000; ++code) {
        codes += is_preset_code(code) ? 1 : 0;
    }
    EXPECT_EQ(codes, kPresetCount);
    EXPECT_EQ(*format_caption(101), "MP4 - MPEG-4视频格式(*.mp4)");
    EXPECT_EQ(*format_caption(2812), "高清晰MPG格式视频(*.mpg)");
}

TEST(Catalogue, ExtensionRule) {
    struct Case {
        const char* caption;
        const char* extension;
    };
    const Case cases[] = {
        {"FLAC-音频格式(*.flac)", ".flac"},
        {"AIFF - 音频交换文件格式(*.aiff)", ".aiff"},
        {"RM - REAL视频格式(*.rm)", ".rm"},
        {"RA - RealAudio音频格式(*.ra)", ".ra"},
        {"3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2)", ".3g2"},
        {"MP4 - MPEG-4视频格式(*.mp4)", ".mp4"},
        {"x(*.mpeg)", ".mpeg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(format_extension(c.caption), c.extension) << c.caption;
    }
    // Every caption ends in its output pattern.
    for (int k = 0; k < kCategoryCount; ++k) {
        for (std::string_view caption : formats_of(k)) {
            EXPECT_EQ(caption.back(), ')');
            EXPECT_NE(caption.rfind("(*."), std::string_view::npos) << caption;
            EXPECT_EQ(format_extension(caption).front(), '.') << caption;
        }
    }
}

}  // namespace
}  // namespace velmora::presets
