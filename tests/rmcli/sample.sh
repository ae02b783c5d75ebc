#!/usr/bin/env bash
# The FFmpeg-made sample film (no events, DATA.size quirk, 8-byte tail):
#  - stripping it gives a byte-identical copy and its dump holds no events;
#  - events added and stripped again give the sample back, except DATA.size (see roundtrip.sh).
#   sample.sh RMEVENTS WORKDIR SAMPLE [--pass-through]
# --pass-through: a film another program made; only the first two checks apply to it (the round
# trip's DATA.size rule is FFmpeg's quirk).
# Exits 77 (skipped) when the sample is not on this machine; it lives outside the repository.
source "$(dirname "$0")/lib.sh"
sample="${1:?sample film}"
pass_through_only="${2:-}"
[ -f "$sample" ] || { echo "SKIP: no sample film at $sample"; exit 77; }
cd "$WORK" || exit 1
cp "$sample" in.rmvb
write_rem_events rem.txt
printf 'u 1.0 2.0 http://example.com/sample.html\r\nu 0:05 0:06.5 http://example.com/two words\r\n' >events.txt

if expect_ok strip -i in.rmvb -o stripped.rmvb -e rem.txt; then
  cmp in.rmvb stripped.rmvb || fail "stripping a film without events changed it"
fi
if expect_ok dump -i in.rmvb -d in; then
  [ -z "$(normalised_events in_evt.txt)" ] || fail "the dump of a film without events lists events"
fi
if [ "$pass_through_only" != --pass-through ] && expect_ok add -i in.rmvb -o with_events.rmvb -e events.txt; then
  check_rm with_events.rmvb >/dev/null || fail "with_events.rmvb is not sound"
  [ "$(media_md5 in.rmvb)" = "$(media_md5 with_events.rmvb)" ] || fail "adding events changed media packets"
  if expect_ok strip_again -i with_events.rmvb -o back.rmvb -e rem.txt; then
    same_but_data_size in.rmvb back.rmvb || fail "back.rmvb is not the sample"
  fi
fi
cmp -s "$sample" in.rmvb || fail "the input copy was modified"
finish
