#!/usr/bin/env python3
"""Times the transcoding core against the ffmpeg command with the same settings.

Generates a test input (default 60 s of 1920x1080 25 fps H.264 + AAC), then runs, alternately,
our driver (velmora_transcode, a thin command line over transcode()) and ffmpeg for each case,
and prints wall time and peak memory of both and their ratios. A benchmark, not a test: the
figures depend on the machine and its load.

  bench/run_bench.py --driver build-core/bench/velmora_transcode [--seconds 60] [--runs 2]
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
LIBAV = os.path.join(os.path.dirname(HERE), "data", "LibAV")

# name, our driver's fields, the ffmpeg options that mean the same, output extension.
CASES = [
    ("101 MPEG-4 in MP4",
     ["VideoCodec=mpeg4", "VideoBitrate=816000", "FrameRate=25", "AudioCodec=libmp3lame",
      "AudioChannels=2", "AudioSampleRate=44100", "AudioBitrate=128000"],
     ["-c:v", "mpeg4", "-b:v", "816000", "-r", "25", "-c:a", "libmp3lame", "-ac", "2",
      "-ar", "44100", "-b:a", "128000"], ".mp4"),
    ("302 x264 720p in MP4",
     ["VideoCodec=libx264", "VideoPreset=libx264-default", "FrameSize=1280*720",
      "VideoBitrate=1600000", "FrameRate=25", "AudioCodec=libmp3lame", "AudioChannels=2",
      "AudioSampleRate=48000", "AudioBitrate=256000"],
     ["-c:v", "libx264", "-fpre", os.path.join(LIBAV, "libx264-default.ffpreset"),
      "-s", "1280x720", "-b:v", "1600000", "-r", "25", "-c:a", "libmp3lame", "-ac", "2",
      "-ar", "48000", "-b:a", "256000"], ".mp4"),
    ("200 MP3",
     ["DisableVideo=1", "AudioCodec=libmp3lame", "AudioChannels=2", "AudioSampleRate=48000",
      "AudioBitrate=128000"],
     ["-vn", "-c:a", "libmp3lame", "-ac", "2", "-ar", "48000", "-b:a", "128000"], ".mp3"),
]


def timed(commands):
    """Runs the commands at once; returns (wall s, summed peak RSS in MiB, summed CPU s)."""
    start = time.monotonic()
    procs = []
    for command in commands:
        stats = tempfile.NamedTemporaryFile(delete=False)
        stats.close()
        procs.append((subprocess.Popen(["/usr/bin/time", "-f", "%M %U %S", "-o", stats.name] + command,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL),
                      stats.name))
    peak_kib = 0
    cpu = 0.0
    for proc, stats in procs:
        if proc.wait() != 0:
            sys.exit("failed: " + " ".join(proc.args))
        with open(stats) as f:
            rss, user, system = f.read().split()[-3:]
        peak_kib += int(rss)
        cpu += float(user) + float(system)
        os.unlink(stats)
    return time.monotonic() - start, peak_kib / 1024.0, cpu


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--driver", required=True, help="path of velmora_transcode")
    parser.add_argument("--seconds", type=int, default=60, help="length of the input")
    parser.add_argument("--runs", type=int, default=2, help="runs of each program per case")
    parser.add_argument("--work", default=None, help="folder for the input and outputs")
    args = parser.parse_args()

    work = args.work or tempfile.mkdtemp(prefix="velmora-bench-")
    os.makedirs(work, exist_ok=True)
    source = os.path.join(work, "input_%ds_1080p.mp4" % args.seconds)
    if not os.path.exists(source):
        print("generating %s ..." % source, flush=True)
        subprocess.run(["ffmpeg", "-nostdin", "-y", "-loglevel", "error",
                        "-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=25:duration=%d" % args.seconds,
                        "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=%d" % args.seconds,
                        "-ac", "2", "-c:v", "libx264", "-preset", "veryfast", "-b:v", "8M",
                        "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "192k", "-shortest",
                        source], check=True)

    def ours(fields, out):
        return [args.driver, source, out, "LibAV=" + LIBAV] + fields

    def theirs(options, out):
        return ["ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-i", source] + options + [out]

    cases = [(name, [ours(f, os.path.join(work, "ours%d" % i + ext))],
              [theirs(o, os.path.join(work, "ffmpeg%d" % i + ext))])
             for i, (name, f, o, ext) in enumerate(CASES)]
    name, fields, options, ext = CASES[0]
    cases.append(("2 files at 2 tasks (101)",
                  [ours(fields, os.path.join(work, "ours_pair%d" % k + ext)) for k in (1, 2)],
                  [theirs(options, os.path.join(work, "ffmpeg_pair%d" % k + ext)) for k in (1, 2)]))

    print("%-26s %8s %8s %6s | %8s %8s %6s | %8s %8s %6s" % (
        "case", "ours s", "ffmpeg s", "ratio", "ours MiB", "ffm MiB", "ratio", "ours cpu",
        "ffm cpu", "ratio"))
    for name, our_commands, their_commands in cases:
        ours_runs, theirs_runs = [], []
        for _ in range(args.runs):
            ours_runs.append(timed(our_commands))
            theirs_runs.append(timed(their_commands))
        ow, tw = min(r[0] for r in ours_runs), min(r[0] for r in theirs_runs)
        om, tm = max(r[1] for r in ours_runs), max(r[1] for r in theirs_runs)
        oc, tc = min(r[2] for r in ours_runs), min(r[2] for r in theirs_runs)
        print("%-26s %8.2f %8.2f %6.3f | %8.1f %8.1f %6.3f | %8.2f %8.2f %6.3f" % (
            name, ow, tw, ow / tw, om, tm, om / tm, oc, tc, oc / tc), flush=True)
    print("(wall and CPU: best of %d alternating runs each; memory: highest peak resident set,"
          " summed over simultaneous tasks)" % args.runs)


if __name__ == "__main__":
    main()
