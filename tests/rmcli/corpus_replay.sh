#!/usr/bin/env bash
# Replays the RealMedia input corpus through rmevents: a strip run (events file holding only
# `rem`) and a dump run for every file, each held to the outcome tests/corpus/rm/expected.txt
# names (copy / ok / ok:N / fail / any; README.md beside it explains them and every file).
#   corpus_replay.sh RMEVENTS WORKDIR CORPUSDIR
# Whatever the outcome, no run may hang, die of a signal or trip a sanitizer, the input must be
# left as it was, and a failed run must leave its output folder empty.
source "$(dirname "$0")/lib.sh"
corpus="${1:?corpus folder}"
[ -f "$corpus/expected.txt" ] || { echo "ERROR: no $corpus/expected.txt"; exit 1; }
write_rem_events "$WORK/rem.txt"

# sound_without_events FILE [--quirks]: OUT reads back as a sound file with no event stream left.
sound_without_events() {
  local summary
  summary=$(check_rm "$@" 2>&1) || { echo "not sound: $summary"; return 1; }
  grep -q realevent <<<"$summary" && { echo "an event stream is left: $summary"; return 1; }
  return 0
}

replay_strip() {
  local name="$1" input="$2" want="$3" dir="$WORK/$1/strip" problem=""
  mkdir -p "$dir"
  run_tool "$WORK/$name/strip" -i "$input" -o "$dir/out.rm" -e "$WORK/rem.txt"
  case "$want:$rc" in
    copy:0) cmp -s "$input" "$dir/out.rm" || problem="OUT is not a byte-identical copy" ;;
    ok:0 | repaired:10) problem=$(sound_without_events "$dir/out.rm") ;;
    any:0) problem=$(sound_without_events "$dir/out.rm" --quirks) ;;
    fail:0) problem="exit 0 for a broken file" ;;
    repaired:*) problem="exit $rc for a film to repair (10 expected): $(head -c 300 "$WORK/$name/strip.out")" ;;
    copy:* | ok:*) problem="exit $rc for a valid file: $(cat "$WORK/$name/strip.out" "$WORK/$name/strip.err" | head -c 300)" ;;
  esac
  if [ "$rc" -ne 0 ] && [ "$want:$rc" != repaired:10 ]; then
    [ -z "$(ls -A "$dir")" ] || problem="${problem:+$problem; }left behind: $(ls -A "$dir")"
  fi
  [ -z "$problem" ] || fail "$name strip: $problem"
  strip_rc=$rc
}

replay_dump() {
  local name="$1" input="$2" want="$3" dir="$WORK/$1/dump" problem="" lines
  mkdir -p "$dir"
  run_tool "$WORK/$name/dump" -i "$input" -d "$dir/out"
  case "$want:$rc" in
    ok:*:0)
      if lines=$(normalised_events "$dir/out_evt.txt" 2>&1); then
        [ "$(grep -c . <<<"$lines")" -eq "${want#ok:}" ] ||
          problem="dumped $(grep -c . <<<"$lines") events, expected ${want#ok:}"
      else
        problem="dump unreadable: $lines"
      fi ;;
    ok:*) problem="exit $rc for a valid file: $(cat "$WORK/$name/dump.out" "$WORK/$name/dump.err" | head -c 300)" ;;
    fail:0) problem="exit 0 for a broken file" ;;
  esac
  if [ "$rc" -ne 0 ] && [ "$want:$rc" != repaired:10 ]; then
    [ -z "$(ls -A "$dir")" ] || problem="${problem:+$problem; }left behind: $(ls -A "$dir")"
  fi
  [ -z "$problem" ] || fail "$name dump: $problem"
  dump_rc=$rc
}

count=0
while read -r file strip dump; do
  case "$file" in '' | '#'*) continue ;; esac
  input="$corpus/$file"
  [ -f "$input" ] || { fail "$file is listed but missing"; continue; }
  before=$(md5sum <"$input")
  before_failures=$failures
  replay_strip "${file%.rm}" "$input" "$strip"
  replay_dump "${file%.rm}" "$input" "$dump"
  [ "$(md5sum <"$input")" = "$before" ] || fail "$file was modified"
  verdict=ok
  [ "$failures" -eq "$before_failures" ] || verdict=FAILED
  printf '%-32s strip %-4s exit %-3s dump %-4s exit %-3s %s\n' "$file" "$strip" "$strip_rc" \
    "$dump" "$dump_rc" "$verdict"
  count=$((count + 1))
done <"$corpus/expected.txt"
[ "$count" -eq "$(ls "$corpus"/*.rm | wc -l)" ] || fail "expected.txt lists $count of $(ls "$corpus"/*.rm | wc -l) files"
finish "$count files"
