#!/bin/sh
# Plays a generated 1080p H.264 + AAC clip with the preview player and prints the processor
# time it took. Usage: bench/player/run_player_bench.sh <build dir> [seconds]
# Set VELMORA_BENCH_CLIP to a file path to keep the generated clip there between runs.
set -eu
build=${1:?usage: $0 <build dir> [seconds]}
seconds=${2:-25}
driver=$(find "$build" -name player_bench -type f -perm -u+x | head -n 1)
[ -n "$driver" ] || { echo "build the player_bench target in $build first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clip="${VELMORA_BENCH_CLIP:-$work/bench_1080p.mp4}"
[ -s "$clip" ] || ffmpeg -nostdin -y -hide_banner -loglevel error \
    -f lavfi -i "testsrc2=size=1920x1080:rate=30:duration=$seconds" \
    -f lavfi -i "sine=frequency=440:duration=$seconds" \
    -c:v libx264 -preset veryfast -b:v 8M -g 60 -pix_fmt yuv420p -c:a aac -b:a 128k -shortest "$clip"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
for mode in drop pane paused; do
    "$driver" "$clip" "$mode"
done
