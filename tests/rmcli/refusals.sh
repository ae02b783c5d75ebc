#!/usr/bin/env bash
# What rmevents must refuse, and how: a non-zero exit, the input untouched, no OUT and no
# temporary file left behind (an OUT left from an earlier run goes too).
#   refusals.sh RMEVENTS WORKDIR
source "$(dirname "$0")/lib.sh"
cd "$WORK" || exit 1
mkdir in out
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=duration=1:size=64x48:rate=5 \
  -f lavfi -i sine=duration=1 -c:v rv10 -c:a ac3 -ac 1 in/film.rm || exit 1
printf 'u 0.2 0.4 http://example.com/\r\n' >events.txt
write_rem_events rem.txt
cp in/film.rm pristine.rm

# untouched WHAT: the film must still be what ffmpeg wrote, and nothing else in its folder.
# Put right afterwards, so one fault is reported once.
untouched() {
  cmp -s in/film.rm pristine.rm || { fail "$1: the input film changed"; cp pristine.rm in/film.rm; }
  [ "$(ls -A in)" = "film.rm" ] || fail "$1: files appeared beside the input: $(ls -A in)"
}

# --- IN and OUT naming the same file, however spelled
for spelling in in/film.rm ./in/film.rm in/../in/film.rm "$WORK/in/film.rm"; do
  run_tool same -i in/film.rm -o "$spelling" -e events.txt
  [ "$rc" -ne 0 ] || fail "-i in/film.rm -o $spelling was not refused"
  untouched "-o $spelling"
done
ln -s film.rm in/link.rm
run_tool same_link -i in/film.rm -o in/link.rm -e rem.txt
[ "$rc" -ne 0 ] || fail "OUT as a symbolic link to IN was not refused"
[ -L in/link.rm ] && [ "$(readlink in/link.rm)" = film.rm ] || fail "the symbolic link was replaced"
rm -f in/link.rm
ln in/film.rm in/hard.rm
run_tool same_hard -i in/film.rm -o in/hard.rm -e rem.txt
[ "$rc" -ne 0 ] || fail "OUT as a hard link to IN was not refused"
rm -f in/hard.rm
untouched "links"

# --- OUT that cannot be written
expect_refused missing_dir out/no/such/folder/x.rm -i in/film.rm -o out/no/such/folder/x.rm -e events.txt
touch out/plain_file
expect_refused parent_is_file out/plain_file/x.rm -i in/film.rm -o out/plain_file/x.rm -e events.txt
rm out/plain_file
mkdir locked && chmod 555 locked
if [ "$(id -u)" -ne 0 ]; then
  expect_refused locked locked/x.rm -i in/film.rm -o locked/x.rm -e events.txt
elif command -v setpriv >/dev/null; then
  # root writes anywhere, so the read-only folder case runs as nobody.
  chmod 755 "$WORK" in && chmod 644 in/film.rm events.txt
  RMEVENTS_AS_ROOT="$RMEVENTS"
  RMEVENTS=(setpriv --reuid=65534 --regid=65534 --clear-groups "$RMEVENTS_AS_ROOT")
  timeout -k 5 60 "${RMEVENTS[@]}" -i in/film.rm -o locked/x.rm -e events.txt >locked.out 2>locked.err
  rc=$?
  RMEVENTS="$RMEVENTS_AS_ROOT"
  [ "$rc" -ne 0 ] && [ "$rc" -lt 86 ] || fail "writing into a read-only folder exited $rc"
  [ -z "$(ls -A locked)" ] || fail "files left in the read-only folder: $(ls -A locked)"
else
  echo "note: running as root without setpriv; the read-only folder case is not run"
fi
untouched "unwritable OUT"

# --- bad input or events: no OUT
expect_refused no_input out/x.rm -i in/nothing.rm -o out/x.rm -e events.txt
expect_refused dir_input out/x.rm -i in -o out/x.rm -e events.txt
expect_refused no_events out/x.rm -i in/film.rm -o out/x.rm -e no_such_events.txt
for bad in 'x 1 2 http://example.com/' 'u 1 http://example.com/' 'u 1:2:3:4:5 9 http://a/' \
           'u 2 1 http://example.com/' 'u a b http://example.com/' 'u 1 2'; do
  printf '# one bad line\r\nu 0.1 0.2 http://example.com/ok\r\n%s\r\n' "$bad" >bad_events.txt
  run_tool bad_events -i in/film.rm -o out/x.rm -e bad_events.txt
  if [ "$rc" -eq 0 ]; then
    fail "the bad line was: $bad"
    rm -f out/x.rm
  else
    grep -q 3 bad_events.out bad_events.err || fail "the message for '$bad' does not give line 3"
  fi
done
no_strays out
# A failed run leaves no OUT at all, so an OUT from an earlier run cannot pass for this one's.
echo "an older film" >out/stale.rm
head -c 500 in/film.rm >in/cut.rm
run_tool stale -i in/cut.rm -o out/stale.rm -e rem.txt
[ "$rc" -ne 0 ] || fail "a cut-off input was accepted"
[ -z "$(ls -A out)" ] || fail "a failed run left $(ls -A out)"
rm -f in/cut.rm out/*
# The earlier OUT goes before anything is read: a run killed while it waits for its events file
# (a pipe nobody writes to) leaves neither it nor an earlier OUT.part.
mkfifo never.fifo
echo "an older film" >out/stale.rm
echo "an older part file" >out/stale.rm.part
timeout -s KILL 3 "$RMEVENTS" -i in/film.rm -o out/stale.rm -e never.fifo >killed.out 2>&1
[ -z "$(ls -A out)" ] || fail "a run killed before it read anything left $(ls -A out)"
rm -f never.fifo out/*
untouched "bad input"

# --- the command line itself
run_tool usage '-?'
[ "$rc" -eq 0 ] && grep -q -- '-i' usage.out usage.err || fail "-? exited $rc or printed no usage"
for args in "" "-i" "-i in/film.rm" "-i in/film.rm -o out/x.rm" "-z in/film.rm" \
            "-i in/film.rm -o out/x.rm -e events.txt extra" "-o out/x.rm -e events.txt"; do
  # shellcheck disable=SC2086  # the words are meant to split
  run_tool misuse $args
  [ "$rc" -ne 0 ] || fail "'rmevents $args' exited 0"
  [ -s misuse.out ] || [ -s misuse.err ] || fail "'rmevents $args' said nothing"
done
no_strays out
# Image maps may be declined, but plainly: a message and no OUT.
run_tool imagemap -i in/film.rm -m events.txt -o out/x.rm
if [ "$rc" -ne 0 ]; then
  [ -s imagemap.out ] || [ -s imagemap.err ] || fail "-m was declined without a word"
  no_strays out
fi
untouched "misuse"
finish
