#!/usr/bin/env bash
# RMEVENTS_UNCHANGED=skip: a film without events is left alone (no OUT, exit 9, one line saying
# so) after a look at its headers only; without the variable, or with another value, it is copied
# byte for byte as before; a film with events, or events to add, is rewritten whatever the value.
#   unchanged.sh RMEVENTS WORKDIR
source "$(dirname "$0")/lib.sh"
cd "$WORK" || exit 1
mkdir out
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=duration=2:size=64x48:rate=5 \
  -f lavfi -i sine=duration=2 -c:v rv10 -c:a ac3 -ac 1 plain.rm || exit 1
printf 'u 0.2 0.4 http://example.com/\r\n' >events.txt
write_rem_events rem.txt
unset RMEVENTS_UNCHANGED
expect_ok add -i plain.rm -o events.rm -e events.txt
cp plain.rm pristine.rm
skipped_line='文件中没有事件：未改动，未写出输出文件。'

# skipped LOG IN: IN was left alone: exit 9, the line last, no OUT and no OUT.part, IN unchanged.
skipped() {
  local log="$1" in="$2"
  echo "an OUT from an earlier run" >out/x.rm
  echo "a part file from an earlier run" >out/x.rm.part
  cp "$in" before.rm
  RMEVENTS_UNCHANGED=skip run_tool "$log" -i "$in" -o out/x.rm -e rem.txt
  [ "$rc" -eq 9 ] || fail "$log: exit $rc with RMEVENTS_UNCHANGED=skip, expected 9: $(head -c 300 "$log.out")"
  [ "$(tail -1 "$log.out")" = "$skipped_line" ] || fail "$log: the last line is '$(tail -1 "$log.out")'"
  grep -q '^输入文件：' "$log.out" && grep -q '^输入大小：' "$log.out" || fail "$log: the input lines are missing"
  [ -z "$(ls -A out)" ] || fail "$log: left $(ls -A out)"
  cmp -s "$in" before.rm || fail "$log: the input changed"
  rm -f out/* before.rm
}

skipped plain plain.rm
for value in "" Skip "skip " 1; do
  if RMEVENTS_UNCHANGED="$value" expect_ok "copy_$value" -i plain.rm -o out/x.rm -e rem.txt; then
    cmp -s plain.rm out/x.rm || fail "with RMEVENTS_UNCHANGED='$value' the copy is not byte-identical"
  fi
  rm -f out/*
done
if expect_ok copy_unset -i plain.rm -o out/x.rm -e rem.txt; then
  cmp -s plain.rm out/x.rm || fail "without RMEVENTS_UNCHANGED the copy is not byte-identical"
fi
rm -f out/*

# Events to strip or to add: the variable changes nothing.
expect_ok strip -i events.rm -o strip.rm -e rem.txt
RMEVENTS_UNCHANGED=skip expect_ok strip_skip -i events.rm -o out/x.rm -e rem.txt &&
  { cmp -s strip.rm out/x.rm || fail "stripping with RMEVENTS_UNCHANGED=skip gave another file"; }
rm -f out/*
RMEVENTS_UNCHANGED=skip expect_ok add_skip -i plain.rm -o out/x.rm -e events.txt &&
  { cmp -s events.rm out/x.rm || fail "adding events with RMEVENTS_UNCHANGED=skip gave another file"; }
rm -f out/*

# Only the headers are read: a film whose packet data is garbage or cut off right after the DATA
# chunk's header is still left alone, while without the variable it is refused.
data=$(grep -obUa DATA plain.rm | head -1 | cut -d: -f1)
[ -n "$data" ] || { fail "no DATA chunk found in plain.rm"; finish; }
head -c $((data + 18)) plain.rm >cut.rm
skipped cut cut.rm
cp plain.rm garbage.rm
head -c $(($(stat -c %s plain.rm) - data - 18)) /dev/urandom |
  dd of=garbage.rm bs=1 seek=$((data + 18)) conv=notrunc status=none
skipped garbage garbage.rm
expect_refused cut_unset out/x.rm -i cut.rm -o out/x.rm -e rem.txt

# Headers that cannot be read, or no RealMedia at all: refused as without the variable.
head -c $((data - 4)) plain.rm >headers_cut.rm
head -c 4000 /dev/urandom >noise.rm
for bad in headers_cut.rm noise.rm; do
  RMEVENTS_UNCHANGED=skip expect_refused "refused_$bad" out/x.rm -i "$bad" -o out/x.rm -e rem.txt
  [ "$rc" -eq 3 ] || fail "$bad with RMEVENTS_UNCHANGED=skip exited $rc, expected 3"
done
cmp -s plain.rm pristine.rm || fail "the film without events changed"
finish
