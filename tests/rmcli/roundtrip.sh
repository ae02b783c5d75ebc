#!/usr/bin/env bash
# Round trip on real encoder output: ffmpeg makes a clip X; rmevents adds URL events (Y), dumps
# them, replaces them by title/author/copyright events (W) and strips them again (Z).
#   roundtrip.sh RMEVENTS WORKDIR KIND      KIND: rv10_ac3 rv20_ac3 rv10_real144 audio_only
# What must hold, each checked apart from rmevents itself:
#  - the dump of Y says what the events file said (times compared in tenths of a second);
#  - Y is a sound file whose new event stream is the last one (rm_check.py), ffprobe sees exactly
#    one data stream in it, and FFmpeg reads the same audio/video packets from X, Y, W and Z;
#  - Z equals X byte for byte except DATA.size: FFmpeg writes that field 18 bytes too large and
#    rmevents writes the true size. rm_check.py same-but-data-size compares every byte of the two
#    files, allows a difference only inside that 4-byte field, and checks that Z's value is
#    exactly the size its packets take;
#  - stripping X itself (no events in, none to add) gives a byte-identical copy.
source "$(dirname "$0")/lib.sh"
kind="${1:?kind}"
cd "$WORK" || exit 1

case "$kind" in
  rv10_ac3) video=(-c:v rv10 -q:v 4) audio=(-c:a ac3 -b:a 64k -ac 2) ;;
  rv20_ac3) video=(-c:v rv20 -q:v 4) audio=(-c:a ac3 -b:a 64k -ac 2) ;;
  rv10_real144) video=(-c:v rv10 -q:v 4) audio=(-c:a real_144 -ar 8000 -ac 1) ;;
  audio_only) video=(-vn) audio=(-c:a ac3 -b:a 96k -ac 2) ;;
  *) echo "unknown clip kind $kind"; exit 1 ;;
esac
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=duration=4:size=176x144:rate=15 \
  -f lavfi -i sine=frequency=440:duration=4:sample_rate=44100 "${video[@]}" "${audio[@]}" \
  x.rm || { echo "ERROR: ffmpeg could not make the $kind clip"; exit 1; }

# CR LF endings, a comment, rem lines, a blank line, every time form, spaces and non-ASCII
# bytes in the text.
printf '%s\r\n' \
  '# URL events for the round trip' \
  'rem written the way a batch file writes it' \
  'u 0.5 1.0 http://example.com/first.html' \
  '' \
  'u 0:01.5 0:02.0 http://example.com/with space/page two.html' \
  'REM upper-case rem counts too' \
  'u 0:00:02.5 0:00:03.0 file:///C:/影片/片头 1.html' \
  'u 0:0:0:3.2 0:0:0:3.9 http://example.com/last?a=1&b=%20' >events.txt
printf '%s\r\n' \
  'i 0 0.1 片名 The Title' \
  'a 0.2 0.3 作者 An Author' \
  'c 0.4 0.5 (c) 2024 Somebody' \
  'u 1 2 http://example.com/replaced.html' >replacement.txt
write_rem_events rem.txt

check_rm x.rm --quirks >x.sum || { echo "ERROR: ffmpeg's clip does not read as expected"; exit 1; }
media_md5 x.rm >x.md5
normalised_events events.txt >events.want || exit 1
normalised_events replacement.txt >replacement.want || exit 1
kinds_x=$(stream_kinds x.rm)
grep -E '^stream ' x.sum >x.streams
n=$(wc -l <x.streams)

# same_media FILE: FFmpeg must read the very packets of X from FILE.
same_media() {
  media_md5 "$1" >"$1.md5"
  cmp -s x.md5 "$1.md5" || { fail "$1: audio/video packets differ from the clip's:"; diff x.md5 "$1.md5" | head; }
}

# dumped_as FILE WANT: the dump of FILE, normalised, equals WANT.
dumped_as() {
  rm -f "dump_$1_evt.txt"
  expect_ok "dump_$1" -i "$1" -d "dump_$1" || return
  [ -f "dump_$1_evt.txt" ] || { fail "-d dump_$1 wrote no dump_$1_evt.txt"; return; }
  normalised_events "dump_$1_evt.txt" >"dump_$1.got" || { fail "the dump of $1 does not parse"; return; }
  diff "$2" "dump_$1.got" >/dev/null || { fail "the dump of $1 differs from what went in:"; diff "$2" "dump_$1.got"; }
}

# --- add
if expect_ok add -i x.rm -o y.rm -e events.txt; then
  if check_rm y.rm >y.sum; then
    # Media streams keep their numbers and packets; the event stream is appended after them.
    grep -E '^stream ' y.sum | head -n "$n" >y.media
    cmp -s x.streams y.media || fail "media streams changed: $(cat y.sum)"
    grep -qE "^stream $n application/x-pn-realevent 4\$" y.sum || fail "no event stream $n with 4 packets: $(cat y.sum)"
    want_headers=$(( $(sed -n 's/^num_headers //p' x.sum) + 1 ))
    grep -qx "num_headers $want_headers" y.sum || fail "num_headers is not $want_headers: $(grep num_headers y.sum)"
    # The URL strings must be the file's bytes, untouched, in 0x0020 URL events.
    sed -nE 's/^event [0-9]+ ([0-9]+) ([0-9]+) 0020 (.*)$/u \1 \2 \3/p
              s/^event [0-9]+ ([0-9]+) ([0-9]+) ([0-9a-f]{4}) (.*)$/?\3 \1 \2 \4/p' y.sum >y.events
    cmp -s events.want y.events || { fail "event packets differ from the events file:"; diff events.want y.events; }
  else
    fail "y.rm is not sound: $(check_rm y.rm 2>&1 >/dev/null)"
  fi
  [ "$(stream_kinds y.rm | grep -c '^data$')" -eq 1 ] || fail "ffprobe does not see exactly one data stream in y.rm"
  [ "$(stream_kinds y.rm | grep -v '^data$')" = "$kinds_x" ] || fail "ffprobe sees other media streams in y.rm"
  # ffprobe's size of an event packet is its payload: 14 bytes of header plus the string.
  ffprobe -v error -select_streams d -show_entries packet=size -of csv=p=0 y.rm >y.sizes
  cut -d' ' -f4- events.want | while IFS= read -r text; do echo $((14 + $(printf '%s' "$text" | wc -c))); done >want.sizes
  cmp -s want.sizes y.sizes || fail "ffprobe's event packet sizes $(echo $(cat y.sizes)) are not $(echo $(cat want.sizes))"
  same_media y.rm
  dumped_as y.rm events.want

  # --- replace: the old events go, the new ones (title, author, copyright, URL) come back out
  if expect_ok replace -i y.rm -o w.rm -e replacement.txt; then
    if check_rm w.rm >w.sum; then
      grep -qE "^stream $n application/x-pn-realevent 4\$" w.sum || fail "w.rm has no event stream $n with 4 packets"
    else
      fail "w.rm is not sound: $(check_rm w.rm 2>&1 >/dev/null)"
    fi
    same_media w.rm
    dumped_as w.rm replacement.want
  fi

  # --- strip
  if expect_ok strip -i y.rm -o z.rm -e rem.txt; then
    same_but_data_size x.rm z.rm || fail "z.rm is not the clip again"
    stream_kinds z.rm | grep -q '^data$' && fail "ffprobe still sees a data stream in z.rm"
    same_media z.rm
    dumped_as z.rm /dev/null
    # The report names every event it removed.
    cut -d' ' -f4- events.want | while IFS= read -r url; do
      grep -qF -- "$url" strip.out || grep -qsF -- "$url" strip.out.raw || echo "$url"
    done >unreported
    [ ! -s unreported ] || fail "the strip report does not name: $(cat unreported)"
  fi
fi

# --- nothing to strip, nothing to add: a byte-identical copy
if expect_ok copy -i x.rm -o copy.rm -e rem.txt; then
  cmp x.rm copy.rm || fail "stripping a clip without events changed it"
fi
finish "$kind"
