#!/usr/bin/env bash
# Films cut short, as an interrupted download leaves them: ffmpeg makes a clip, rmevents adds URL
# events (so there is an event stream and an index to lose), and copies of that film cut at a few
# places are stripped. Each strip must exit 10 (success with a repair), say where the film was cut,
# write a file rm_check.py finds sound and without events, and FFmpeg must read from it exactly
# the first frames of each stream it reads from the whole film. (Per stream: a video frame may
# span several packets, and FFmpeg passes over the one the cut went through, so the streams'
# frames interleave differently just before the cut.)
#   cut_short.sh RMEVENTS WORKDIR
source "$(dirname "$0")/lib.sh"
cd "$WORK" || exit 1

ffmpeg -nostdin -v error -y -f lavfi -i testsrc=duration=4:size=176x144:rate=15 \
  -f lavfi -i sine=frequency=440:duration=4:sample_rate=44100 -c:v rv10 -q:v 4 \
  -c:a ac3 -b:a 64k -ac 2 x.rm || { echo "ERROR: ffmpeg could not make the clip"; exit 1; }
printf 'u 0.5 1.0 http://example.com/a.html\r\nu 2.5 3.0 http://example.com/b.html\r\n' >events.txt
write_rem_events rem.txt
expect_ok add -i x.rm -o y.rm -e events.txt || finish
frames() { media_md5 "$1" | grep -v '^#'; }
frames y.rm >y.frames

size=$(stat -c %s y.rm)
# A third and two thirds into the data, a byte before the index, and inside the index.
for cut in $((size / 3)) $((size * 2 / 3)) $((size - 60)) $((size - 30)); do
  head -c "$cut" y.rm >"cut_$cut.rm"
  run_tool "strip_$cut" -i "cut_$cut.rm" -o "out_$cut.rm" -e rem.txt
  [ "$rc" -eq 10 ] || { fail "cut at $cut: exit $rc, not 10: $(head -c 300 "strip_$cut.out")"; continue; }
  grep -qE "^输入文件不完整：在第 $cut 字节处截断，保留了 [0-9]+ 个完整数据包\$" "strip_$cut.out" ||
    fail "cut at $cut: the report does not say where the film was cut"
  summary=$(check_rm "out_$cut.rm" 2>&1) || { fail "cut at $cut: not sound: $summary"; continue; }
  grep -q realevent <<<"$summary" && fail "cut at $cut: an event stream is left"
  frames "out_$cut.rm" >"out_$cut.frames"
  [ -s "out_$cut.frames" ] || fail "cut at $cut: FFmpeg reads no frame from the output"
  for stream in 0 1; do
    grep "^$stream," "out_$cut.frames" >"out_$cut.$stream"
    kept=$(wc -l <"out_$cut.$stream")
    grep "^$stream," y.frames >"y.$stream"
    head -n "$kept" "y.$stream" | cmp -s - "out_$cut.$stream" ||
      fail "cut at $cut: the $kept frames of stream $stream are not the film's first $kept"
  done
done
finish
