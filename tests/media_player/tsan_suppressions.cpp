// Under ThreadSanitizer: reports whose stacks pass through the prebuilt system libraries are
// not ours to act on. FFmpeg's frame-threaded decoders and buffer pools, SDL's audio thread and
// Qt's painting thread pool synchronise with atomics in code built without the sanitizer, so
// their hand-overs look like races. Our own code stays fully checked.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libavcodec.so\n"
           "race:libavutil.so\n"
           "race:libswscale.so\n"
           "race:libSDL2\n"
           "race:libQt6\n";
}
