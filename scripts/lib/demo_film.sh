# Short RealMedia films that carry URL events, for the demo run, the end-to-end tests and the
# clearing benchmark: FFmpeg encodes a clip, and our own rmevents (the Windows build, under Wine)
# adds the events. Also the checks on a film from the Linux side. Source after wine.sh, with the
# Wine environment set (wine_env).

# The events every demo film carries.
QUELLIN_DEMO_EVENTS=$'u 0:01.0 0:05.0 http://example.com/x\r\nu 0:06.0 0:08.0 http://example.com/y\r\n'

# z_path PATH: an absolute Linux path as Wine's Z: drive shows it.
z_path() {
  printf 'Z:%s' "$(printf %s "$1" | tr / '\\')"
}

# make_demo_film OUT RMEVENTS_EXE [SECONDS]: a RV20 + AC-3 clip of SECONDS (default 4) with the
# demo events in it, written to OUT (an absolute path).
make_demo_film() {
  local out="$1" tool="$2" seconds="${3:-4}" work status=0
  work=$(mktemp -d)
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc=size=320x240:rate=15" -f lavfi -i "sine=frequency=440:sample_rate=44100" \
    -t "$seconds" -c:v rv20 -b:v 400k -c:a ac3 -b:a 96k "$work/clip.rm" || status=1
  printf '%s' "$QUELLIN_DEMO_EVENTS" >"$work/events.txt"
  if [ "$status" -eq 0 ]; then
    # A file, not a pipe: Wine's helper processes would hold a pipe open.
    "$QUELLIN_WINE64" "$tool" -i "$(z_path "$work/clip.rm")" -o "$(z_path "$out")" \
      -e "$(z_path "$work/events.txt")" </dev/null >"$work/log" 2>&1 || status=1
    [ "$status" -eq 0 ] || iconv -f GBK -t UTF-8 "$work/log" | tr -d '\r' >&2
  fi
  rm -rf "$work"
  return "$status"
}

# film_events FILM RMEVENTS_EXE: the film's events as rmevents dumps them, one a line (comment
# lines left out); nothing for a film without events. Fails when the dump fails.
film_events() {
  local film="$1" tool="$2" work status=0
  work=$(mktemp -d)
  "$QUELLIN_WINE64" "$tool" -i "$(z_path "$film")" -d "$(z_path "$work/dump")" \
    </dev/null >"$work/log" 2>&1 || status=1
  if [ "$status" -eq 0 ]; then
    grep -av '^#' "$work/dump_evt.txt" | tr -d '\r' | grep -av '^$' || true
  else
    # The tool reports in the ANSI code page, 936 under our Wine.
    iconv -f GBK -t UTF-8 "$work/log" | tr -d '\r' >&2
  fi
  rm -rf "$work"
  return "$status"
}

# data_streams FILM: how many streams FFmpeg sees that are neither audio nor video (an event
# stream shows as one).
data_streams() {
  ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$1" | grep -cv -e '^video' -e '^audio'
}

# media_md5 FILM: one MD5 per audio and video packet, in demuxing order, as FFmpeg reads them.
media_md5() {
  ffmpeg -nostdin -v error -i "$1" -map '0:v?' -map '0:a?' -c copy -f framemd5 - 2>&1
}
