// The main of every GoogleTest program: no display, no sound card, then run the tests.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // An explicit choice from the caller wins; otherwise tests never need a screen or speakers.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
