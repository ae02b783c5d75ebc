#!/usr/bin/env bash
# A volume too small for the output (a memory card, a small partition): rmevents must refuse before
# it writes, name both sizes, leave nothing on that volume, and keep the film whole. The volume is
# a small tmpfs, which needs root; where mounting is impossible the test is skipped (exit 77).
#   full_volume.sh RMEVENTS WORKDIR SAMPLE
source "$(dirname "$0")/lib.sh"
sample="${1:?sample film}"
cd "$WORK" || exit 1

mkdir small
mount -t tmpfs -o size=256k tmpfs small 2>/dev/null || { echo "SKIP: cannot mount a tmpfs"; exit 77; }
trap 'umount small' EXIT
printf 'u 1 2 http://example.com/a.html\r\n' >events.txt
write_rem_events rem.txt
expect_ok add -i "$sample" -o film.rm -e events.txt || finish
cp film.rm film.orig

run_tool full -i film.rm -o small/film.rm.tmp -e rem.txt
[ "$rc" -eq 5 ] || fail "exit $rc, not 5: $(cat full.out)"
grep -qE '^错误：磁盘空间不足：输出需要约 [0-9,]+ 字节，目标磁盘只剩 262,144 字节$' full.out ||
  fail "the report does not give the sizes: $(cat full.out)"
no_strays small
cmp -s film.rm film.orig || fail "the film changed"
finish
