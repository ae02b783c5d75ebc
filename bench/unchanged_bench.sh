#!/usr/bin/env bash
# What RMEVENTS_UNCHANGED=skip saves, measured in one run against the tool without it:
#   - rmevents over 20 films of about 100 MB each, two of them with URL events, run the way
#     Quellin's batch runs it (`-i FILM -o FILM.tmp -e Event.txt`, the copy deleted afterwards),
#     with the variable against without: the speed ratio (target >= 5);
#   - rmevents with the variable on one 1 GiB film without events, page cache warm and cold
#     (the film's pages dropped with posix_fadvise), against the same film copied without it
#     (target < 50 ms).
#
#   bench/unchanged_bench.sh [FILMS] [ROUNDS] [RMEVENTS]
# Defaults: 20 films, 3 rounds, rmevents built from the release-native preset. The films are made
# in build/bench/unchanged/ from rewrite_bench.sh's 20-second encoder clip (build/bench/base.rm,
# kept) and deleted at the end. Times are medians; the ratio is the median of per-round ratios (a
# round times both ways once, in alternating order). `sync` runs before each timed pass.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
films="${1:-20}"
rounds="${2:-3}"
rmevents="${3:-}"
for tool in ffmpeg python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup"; exit 1; }
done
if [ -z "$rmevents" ]; then
  cmake --preset release-native -S "$root" >/dev/null
  cmake --build --preset release-native -j2 --target rmevents >/dev/null
  rmevents="$root/build/release-native/tools/rmevents/rmevents"
fi
[ -x "$rmevents" ] || { echo "no rmevents at $rmevents"; exit 1; }
unset RMEVENTS_UNCHANGED
# Times come from bash's own clock: a `date` process per reading would cost more than a skipped film.
now_us() { echo $(( ${EPOCHREALTIME/./} )); }

bench="$root/build/bench"
work="$bench/unchanged"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
cd "$work"
film_mib=100
need=$(( (films + 4) * film_mib * 1048576 + 2 * 1073741824 ))
free=$(( $(df --output=avail -B1 . | tail -1) ))
[ "$free" -gt $((need + 1073741824)) ] || {
  echo "not enough disk: $((need / 1048576)) MiB needed and 1 GiB to spare, $((free / 1048576)) MiB free"; exit 1; }

# --- films
if [ ! -f "$bench/base.rm" ]; then
  ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=duration=20:size=640x480:rate=25 \
    -f lavfi -i sine=frequency=440:duration=20:sample_rate=48000 \
    -c:v rv20 -b:v 4M -maxrate 4M -bufsize 2M -c:a ac3 -b:a 192k -ac 2 "$bench/base.rm"
fi
base_bytes=$(stat -c %s "$bench/base.rm")
# looped MIB OUT: the clip stream-copied in a loop up to about MIB MiB.
looped() {
  local loops=$(( ($1 * 1048576 + base_bytes - 1) / base_bytes ))
  ffmpeg -nostdin -v error -y -stream_loop $((loops - 1)) -i "$bench/base.rm" -map 0 -c copy "$2"
}
looped "$film_mib" plain.rm
: >events.txt
for ((t = 5; t < 300; t += 10)); do
  printf 'u %d %d.5 http://example.com/chapter/%d.html\r\n' "$t" "$t" "$t" >>events.txt
done
"$rmevents" -i plain.rm -o with_events.rm -e events.txt >/dev/null
printf 'rem \r\n' >Event.txt
mkdir films
for ((i = 1; i <= films; i++)); do
  # Two films with events, spread through the list.
  if [ "$i" -eq $((films / 3)) ] || [ "$i" -eq $((2 * films / 3)) ]; then src=with_events.rm; else src=plain.rm; fi
  cp "$src" "films/film$(printf %02d "$i").rm"
done
rm -f plain.rm with_events.rm
looped 1024 big.rm

# pass skip|copy: rmevents over every film as the batch runs it; prints microseconds.
pass() {
  local start f rc
  sync
  start=$(now_us)
  for f in films/*.rm; do
    rc=0
    if [ "$1" = skip ]; then
      RMEVENTS_UNCHANGED=skip "$rmevents" -i "$f" -o "$f.tmp" -e Event.txt >pass.log || rc=$?
    else
      "$rmevents" -i "$f" -o "$f.tmp" -e Event.txt >pass.log || rc=$?
    fi
    [ "$rc" -eq 0 ] || [ "$rc" -eq 9 ] || { echo "rmevents failed on $f (exit $rc):"; cat pass.log; exit 1; }
    # The copy is what Quellin's replacement step then moves; only the copying run leaves one.
    if [ -e "$f.tmp" ]; then rm -f "$f.tmp"; fi
  done
  echo $(( $(now_us) - start ))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

cat films/*.rm >/dev/null
pass skip >/dev/null  # warm-up, not counted
: >skip.times
: >copy.times
for ((round = 0; round < rounds; round++)); do
  if ((round % 2 == 0)); then
    pass skip >>skip.times
    pass copy >>copy.times
  else
    pass copy >>copy.times
    pass skip >>skip.times
  fi
done
paste copy.times skip.times | awk '{ print $1 / $2 }' >ratios

# --- one 1 GiB film without events
drop_cache() { python3 -c 'import os, sys
fd = os.open(sys.argv[1], os.O_RDONLY)
os.fsync(fd)
os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
os.close(fd)' "$1"; }
# big_once: microseconds of one skipped run on big.rm.
big_once() {
  local start rc=0
  start=$(now_us)
  RMEVENTS_UNCHANGED=skip "$rmevents" -i big.rm -o big.rm.tmp -e Event.txt >big.log || rc=$?
  echo $(( $(now_us) - start ))
  [ "$rc" -eq 9 ] && [ ! -e big.rm.tmp ] || { echo "the 1 GiB film was not skipped (exit $rc):" >&2; cat big.log >&2; exit 1; }
}
# help_once: microseconds of `rmevents -?`, which opens no file: the start-up every run pays.
help_once() {
  local start
  start=$(now_us)
  "$rmevents" -? >/dev/null
  echo $(( $(now_us) - start ))
}
: >warm.times
: >cold.times
: >help.times
for ((run = 0; run < 7; run++)); do
  help_once >>help.times
  big_once >>warm.times
  drop_cache big.rm
  big_once >>cold.times
done
sync
start=$(now_us)
"$rmevents" -i big.rm -o big.rm.tmp -e Event.txt >big.log
big_copy=$(( $(now_us) - start ))
rm -f big.rm.tmp

ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }
echo "rmevents: $rmevents"
echo "films: $films of $(stat -c %s films/film01.rm) bytes (2 with $(grep -c . events.txt) URL events), $rounds rounds"
echo "  without RMEVENTS_UNCHANGED: median $(ms "$(median <copy.times)") ms per pass"
echo "  RMEVENTS_UNCHANGED=skip:    median $(ms "$(median <skip.times)") ms per pass"
awk -v r="$(median <ratios)" 'BEGIN { printf "  speed skip / copy:          %.1fx  (target >= 5)\n", r }'
echo "1 GiB film without events ($(stat -c %s big.rm) bytes):"
echo "  RMEVENTS_UNCHANGED=skip, page cache warm: median $(ms "$(median <warm.times)") ms  (target < 50)"
echo "  RMEVENTS_UNCHANGED=skip, page cache cold: median $(ms "$(median <cold.times)") ms  (target < 50)"
echo "  reference, rmevents -? (start-up only, no file): median $(ms "$(median <help.times)") ms"
echo "  without the variable (copied and checked): $(ms "$big_copy") ms, $(awk -v a="$big_copy" -v b="$(median <warm.times)" 'BEGIN { printf "%.0f", a / b }')x the skipped run"
