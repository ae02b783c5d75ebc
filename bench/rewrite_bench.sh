#!/usr/bin/env bash
# Measures how fast rmevents strips the events out of a big film, and how much memory it needs,
# against references run in the same script on the same file:
#   - cp of the same file: rmevents does little more than copy, so it should come close (>= 0.9x);
#   - ffmpeg remuxing audio and video only (`-map 0:v -map 0:a -c copy`): it should be beaten;
#   - peak RSS of rmevents, which must not grow with the file (< 16 MiB for 1 GiB);
#   - with --wine, the Windows build (build/win64) under Wine against one CopyFileW of the same
#     film by bench/copy_file_w.exe, also under Wine (>= 0.8x).
# rmevents flushes its output to the disk before renaming it (a crash must not leave the output's
# name on data never written), which cp and CopyFileW do not; so each copy is also timed with the
# same flush (`cp` then `sync` of the copy; copy_file_w.exe --flush), for reference, no target.
#
#   bench/rewrite_bench.sh [--size MIB] [--runs N] [--rmevents PATH] [--wine]
# Defaults: 1024 MiB, 5 runs, rmevents built from the release-native preset. Everything it makes
# lives in build/bench/ (the inputs are kept for the next run with the same size).
#
# The input is real encoder output: ffmpeg encodes a 20-second 640x480 RV20 + AC-3 clip (~10 MB,
# about 1100 packets of 0.4 to 40 KB) and stream-copies it in a loop up to the size asked for;
# rmevents then adds one URL event every 10 seconds, so there is an event stream to strip.
# The page cache is warmed before timing and `sync` runs before each timed command so one run's
# writeback does not land in the next. Times are medians; ratios are medians of per-round ratios
# (a round runs each command once, in rotating order), which holds up when the machine's speed
# drifts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
size_mib=1024
runs=5
rmevents=""
wine=0
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size_mib="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --rmevents) rmevents="$2"; shift 2 ;;
    --wine) wine=1; shift ;;
    *) sed -n '2,15p' "$0"; exit 2 ;;
  esac
done
for tool in ffmpeg ffprobe /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup"; exit 1; }
done

# build_release DIR [CMAKE ARGS...]: configures DIR from the release-native preset once, then
# builds the tool alone.
build_release() {
  local dir="$1"
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake --preset release-native -S "$root" -B "$dir" "$@" >"$root/build/bench-configure.log" 2>&1 ||
      return 1
  fi
  cmake --build "$dir" -j2 --target rmevents >/dev/null && rmevents="$dir/tools/rmevents/rmevents"
}
if [ -z "$rmevents" ]; then
  mkdir -p "$root/build"
  if ! build_release "$root/build/release-native"; then
    # The same optimised flags; only the test folders are configured too (nothing of them is built).
    echo "note: the release-native preset does not configure (build/bench-configure.log);"
    echo "      building rmevents in build/bench/release with the same preset and tests configured"
    build_release "$root/build/bench/release" -DQUELLIN_TESTS=ON || {
      cat "$root/build/bench-configure.log"; exit 1; }
  fi
fi
[ -x "$rmevents" ] || { echo "no rmevents at $rmevents"; exit 1; }
if [ "$wine" -eq 1 ]; then
  source "$root/scripts/lib/common.sh"
  source "$root/scripts/lib/wine.sh"
  win64="$root/build/win64"
  build_target win64 "$win64" rmevents >/dev/null
  build_target win64 "$win64" copy_file_w >/dev/null
  trap wine_stop EXIT
  wine_prefix_ready "$win64/wineprefix"
fi

work="$root/build/bench"
mkdir -p "$work"
cd "$work"
need=$((size_mib * 1024 * 1024))
free=$(( $(df --output=avail -B1 . | tail -1) ))
[ "$free" -gt $((need * 4 + 1073741824)) ] || { echo "not enough disk for 4 copies of $size_mib MiB"; exit 1; }

# --- input
if [ ! -f base.rm ]; then
  ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=duration=20:size=640x480:rate=25 \
    -f lavfi -i sine=frequency=440:duration=20:sample_rate=48000 \
    -c:v rv20 -b:v 4M -maxrate 4M -bufsize 2M -c:a ac3 -b:a 192k -ac 2 base.rm
fi
input="events_${size_mib}M.rm"
if [ ! -f "$input" ]; then
  loops=$(( (need + $(stat -c %s base.rm) - 1) / $(stat -c %s base.rm) ))
  ffmpeg -nostdin -v error -y -stream_loop $((loops - 1)) -i base.rm -map 0 -c copy plain.rm
  : >events.txt
  for ((t = 5; t < loops * 20; t += 10)); do
    printf 'u %d %d.5 http://example.com/chapter/%d.html\r\n' "$t" "$t" "$t" >>events.txt
  done
  "$rmevents" -i plain.rm -o "$input" -e events.txt >/dev/null
  rm -f plain.rm
fi
printf 'rem \r\n' >rem.txt
bytes=$(stat -c %s "$input")
events=$(grep -c . events.txt)

# timed NAME OUT CMD...: one run; appends seconds to NAME.times and peak RSS (KiB) to NAME.rss.
timed() {
  local name="$1" out="$2" start end
  shift 2
  rm -f "$out"
  sync
  start=$(date +%s%N)
  /usr/bin/time -f %M -o "$name.rss1" "$@" >/dev/null 2>"$name.log" || {
    echo "$name failed:"; cat "$name.log"; exit 1; }
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 ))" >>"$name.times"
  tail -1 "$name.rss1" >>"$name.rss"
  rm -f "$out"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

rm -f ./*.times ./*.rss
cat "$input" >/dev/null
commands=(cp rmevents ffmpeg cp_sync)
[ "$wine" -eq 1 ] && commands+=(copyfilew rmevents_win copyfilew_flush)
# Wine's Z: drive is the Linux root.
winpath() { printf 'Z:%s' "$(printf %s "$work/$1" | tr / '\\')"; }
run_one() {
  case "$1" in
    cp) timed cp out_cp.rm cp "$input" out_cp.rm ;;
    rmevents) timed rmevents out_rm.rm "$rmevents" -i "$input" -o out_rm.rm -e rem.txt ;;
    cp_sync) timed cp_sync out_cs.rm sh -c 'cp "$1" "$2" && sync "$2"' sh "$input" out_cs.rm ;;
    ffmpeg) timed ffmpeg out_ff.rm ffmpeg -nostdin -v error -y -i "$input" -map 0:v -map 0:a -c copy out_ff.rm ;;
    copyfilew) timed copyfilew out_cw.rm "$QUELLIN_WINE64" "$win64/bench/copy_file_w.exe" \
      "$(winpath "$input")" "$(winpath out_cw.rm)" ;;
    copyfilew_flush) timed copyfilew_flush out_cf.rm "$QUELLIN_WINE64" "$win64/bench/copy_file_w.exe" \
      "$(winpath "$input")" "$(winpath out_cf.rm)" --flush ;;
    rmevents_win) timed rmevents_win out_rw.rm "$QUELLIN_WINE64" "$win64/tools/rmevents/rmevents.exe" \
      -i "$(winpath "$input")" -o "$(winpath out_rw.rm)" -e "$(winpath rem.txt)" ;;
  esac
}
run_one rmevents  # warm-up, not counted
[ "$wine" -eq 1 ] && run_one rmevents_win
rm -f ./*.times ./*.rss
n=${#commands[@]}
for ((round = 0; round < runs; round++)); do
  for ((k = 0; k < n; k++)); do
    run_one "${commands[(round + k) % n]}"
  done
done

# Per-round ratios of speeds (reference time / rmevents time).
paste cp.times rmevents.times | awk '{ print $1 / $2 }' >vs_cp.ratios
paste ffmpeg.times rmevents.times | awk '{ print $1 / $2 }' >vs_ffmpeg.ratios
paste cp_sync.times rmevents.times | awk '{ print $1 / $2 }' >vs_cp_sync.ratios
if [ "$wine" -eq 1 ]; then
  paste copyfilew.times rmevents_win.times | awk '{ print $1 / $2 }' >vs_copyfilew.ratios
  paste copyfilew_flush.times rmevents_win.times | awk '{ print $1 / $2 }' >vs_copyfilew_flush.ratios
fi
report() {
  local name="$1" us rss
  us=$(median <"$name.times")
  rss=$(median <"$name.rss")
  awk -v n="$name" -v us="$us" -v rss="$rss" -v b="$bytes" -v lo="$(sort -n "$name.times" | head -1)" \
      -v hi="$(sort -n "$name.times" | tail -1)" 'BEGIN {
    printf "%-15s median %7.3f s (min %.3f, max %.3f)  %7.0f MiB/s  peak RSS %7.1f MiB\n",
           n, us / 1e6, lo / 1e6, hi / 1e6, b / 1048576 / (us / 1e6), rss / 1024 }'
}
echo "input: $work/$input, $bytes bytes ($((bytes / 1048576)) MiB), $events URL events to strip"
echo "rmevents: $rmevents; $runs runs each, page cache warm"
for c in "${commands[@]}"; do report "$c"; done
max_rss=$(sort -n rmevents.rss | tail -1)
awk -v a="$(median <vs_cp.ratios)" -v b="$(median <vs_ffmpeg.ratios)" -v m="$max_rss" \
    -v s="$(median <vs_cp_sync.ratios)" 'BEGIN {
  printf "speed rmevents / cp:     %.2f  (target >= 0.90)\n", a
  printf "speed rmevents / ffmpeg: %.2f  (target > 1)\n", b
  printf "speed rmevents / (cp, then sync of the copy): %.2f  (reference: both flush to disk)\n", s
  printf "peak RSS rmevents:       %.1f MiB, largest of all runs (target < 16 MiB)\n", m / 1024 }'
if [ "$wine" -eq 1 ]; then
  awk -v a="$(median <vs_copyfilew.ratios)" -v f="$(median <vs_copyfilew_flush.ratios)" 'BEGIN {
    printf "speed rmevents.exe / CopyFileW, both under Wine: %.2f  (target >= 0.80)\n", a
    printf "speed rmevents.exe / (CopyFileW, then FlushFileBuffers): %.2f  (reference: both flush)\n", f }'
fi
