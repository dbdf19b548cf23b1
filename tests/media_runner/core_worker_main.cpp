// The worker executable on the real transcoding core, as `velmora --engine-worker` runs it.
#include "media/worker.h"

int main(int argc, char** argv) {
    return velmora::media::worker_main(argc, argv);
}
