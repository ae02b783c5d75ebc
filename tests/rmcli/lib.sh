# Shared by the rmevents command-line tests; sourced, never run.
#   usage of a test script: SCRIPT RMEVENTS WORKDIR [ARGS...]
# WORKDIR is emptied first and kept afterwards, so a failure can be looked at.
set -uo pipefail

RMEVENTS="$1"
WORK="$2"
shift 2
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
failures=0

# Debian's interpreter when there is one: a version manager's shim in PATH costs a second a call.
PYTHON=/usr/bin/python3
[ -x "$PYTHON" ] || PYTHON=$(command -v python3) || { echo "ERROR: python3 is missing; run scripts/setup"; exit 1; }
for tool in ffmpeg ffprobe timeout; do
  command -v "$tool" >/dev/null || { echo "ERROR: $tool is missing; run scripts/setup"; exit 1; }
done
[ -x "$RMEVENTS" ] || { echo "ERROR: no rmevents at $RMEVENTS"; exit 1; }
rm -rf "$WORK" && mkdir -p "$WORK" || exit 1

# A sanitizer report must not pass for an ordinary "bad input" exit status (both are non-zero),
# so give sanitizers exit codes of their own and look for their reports as well.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}exitcode=86"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}halt_on_error=1:exitcode=87:print_stacktrace=1"

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# run_tool LOG ARG...: runs rmevents under a time limit; its exit status lands in $rc and its
# output in LOG.out / LOG.err. A hang, a signal or a sanitizer report is a failure of its own.
run_tool() {
  local log="$1"
  shift
  timeout -k 5 "${RMCLI_TIMEOUT:-60}" "$RMEVENTS" "$@" >"$log.out" 2>"$log.err"
  rc=$?
  # The Windows tool (the 32-bit build runs these tests under Wine) reports in the ANSI code page
  # with CR LF: LOG.out and LOG.err get its report in UTF-8 with LF, as the native tool writes it,
  # and LOG.out.raw keeps the bytes as written, where event texts pass through unconverted.
  if [ -n "${RMCLI_REPORT_CHARSET:-}" ]; then
    local stream
    for stream in out err; do
      mv "$log.$stream" "$log.$stream.raw"
      iconv -c -f "$RMCLI_REPORT_CHARSET" -t UTF-8 <"$log.$stream.raw" | tr -d '\r' >"$log.$stream"
    done
  fi
  if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
    fail "rmevents $* did not finish within ${RMCLI_TIMEOUT:-60} s"
  elif [ "$rc" -gt 128 ]; then
    fail "rmevents $* died of signal $((rc - 128))"
  elif [ "$rc" -eq 86 ] || [ "$rc" -eq 87 ] ||
       grep -qE 'Sanitizer|runtime error:' "$log.err" "$log.out"; then
    fail "rmevents $* produced a sanitizer report:"
    head -30 "$log.err"
  fi
  return 0
}

# expect_ok LOG ARG...: runs rmevents and fails the test unless it exits 0.
expect_ok() {
  run_tool "$@"
  if [ "$rc" -ne 0 ]; then
    fail "rmevents ${*:2} exited $rc; it said:"
    cat "$1.out" "$1.err" | head -20
    return 1
  fi
}

# expect_refused LOG OUT ARG...: rmevents must exit non-zero and leave no OUT behind.
expect_refused() {
  local log="$1" out="$2"
  shift 2
  run_tool "$log" "$@"
  [ "$rc" -ne 0 ] || fail "rmevents $* exited 0 but should have refused"
  [ ! -e "$out" ] || fail "rmevents $* left $out behind"
}

# no_strays DIR: after a failed run nothing may be left in the output folder (a temporary file
# under another name counts too).
no_strays() {
  local left
  left=$(ls -A "$1")
  [ -z "$left" ] || fail "files left in $1 after a failed run: $left"
}

check_rm() { "$PYTHON" "$HERE/rm_check.py" check "$@"; }
normalised_events() { "$PYTHON" "$HERE/rm_check.py" events "$1"; }
# same_but_data_size ORIGINAL COPY: see rm_check.py; prints what differs.
same_but_data_size() { "$PYTHON" "$HERE/rm_check.py" same-but-data-size "$1" "$2"; }

# An events file with no event lines, exactly as `echo rem > file` writes it from a batch file.
write_rem_events() { printf 'rem \r\n' >"$1"; }

# stream_kinds FILE: ffprobe's codec_type of every stream, one a line.
stream_kinds() { ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$1"; }

# media_md5 FILE: one MD5 per audio/video packet, in demuxing order, as FFmpeg reads them.
media_md5() {
  ffmpeg -nostdin -v error -i "$1" -map '0:v?' -map '0:a?' -c copy -f framemd5 - 2>&1
}

finish() {
  if [ "$failures" -eq 0 ]; then
    echo "PASS: $(basename "$0") ${*:-}"
    exit 0
  fi
  echo "$failures check(s) failed; files are in $WORK"
  exit 1
}
