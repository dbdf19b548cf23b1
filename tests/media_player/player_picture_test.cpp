// Fitting the video into the display keeps its shape and centres it.
#include <gtest/gtest.h>

#include "media/player_picture.h"

namespace velmora::media {
namespace {

struct FitCase {
    int frame_w, frame_h, sar_num, sar_den, display_w, display_h;
    FitRect expected;
};

TEST(FitInto, KeepsTheShownShapeAndCentres) {
    const FitCase cases[] = {
        {320, 240, 1, 1, 200, 124, {17, 0, 165, 124}},    // bars left and right
        {1920, 1080, 1, 1, 640, 360, {0, 0, 640, 360}},   // same shape
        {1920, 1080, 1, 1, 200, 124, {0, 5, 200, 113}},   // bars top and bottom
        {720, 576, 16, 15, 640, 480, {0, 0, 640, 480}},   // PAL 4:3 from non-square pixels
        {720, 576, 64, 45, 640, 480, {0, 60, 640, 360}},  // PAL 16:9
        {320, 240, 0, 1, 320, 240, {0, 0, 320, 240}},     // unknown aspect: square pixels
        {4, 1000, 1, 1, 100, 100, {49, 0, 1, 100}},       // never narrower than one pixel
    };
    for (const FitCase& c : cases) {
        const FitRect fit =
            fit_into(c.frame_w, c.frame_h, c.sar_num, c.sar_den, c.display_w, c.display_h);
        SCOPED_TRACE(std::to_string(c.frame_w) + "x" + std::to_string(c.frame_h) + " into " +
                     std::to_string(c.display_w) + "x" + std::to_string(c.display_h));
        EXPECT_EQ(fit.x, c.expected.x);
        EXPECT_EQ(fit.y, c.expected.y);
        EXPECT_EQ(fit.width, c.expected.width);
        EXPECT_EQ(fit.height, c.expected.height);
    }
}

TEST(FitInto, NothingFitsIntoAnEmptyDisplayOrFromAnEmptyFrame) {
    EXPECT_EQ(fit_into(320, 240, 1, 1, 0, 124).width, 0);
    EXPECT_EQ(fit_into(0, 240, 1, 1, 200, 124).width, 0);
}

}  // namespace
}  // namespace velmora::media
