// The worker executable of the run-control tests: the worker mode on the fake core.
#include "fake_transcode.h"
#include "media/worker.h"

int main() {
    return velmora::media::worker_main_with(velmora::testing::fake_transcode);
}
