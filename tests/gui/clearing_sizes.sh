#!/usr/bin/env bash
# The size limit of the replacement through the whole program: a cleaned copy 199999 bytes
# smaller than its film replaces it, one 200000 bytes smaller does not, a larger one does. A
# stand-in rmevents.exe writes copies of exactly those sizes; the program without its payload
# runs, so it does not put the real tool back in TMP at start-up.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

put_tool "$double_exe"
films=("$work/loss 199999.rm" "$work/loss 200000.rm" "$work/gain 5.rm")
arguments=""
for film in "${films[@]}"; do
  head -c 300000 /dev/urandom >"$film"
  cp "$film" "$film.original"
  arguments+="\"$(win "$film")\" "
done

check "started with three films: never shown, ends by itself" "shown=0 exit=0" \
  "$(one_shot "$image" "$arguments")"
end_notepads
# size_state FILM: the film's size, and the copy's size or "no-copy".
size_state() {
  printf '%s %s\n' "$(stat -c %s "$1")" "$([ -e "$1.tmp" ] && stat -c %s "$1.tmp" || echo no-copy)"
}
check "199999 bytes smaller: the copy replaces the film" "100001 no-copy" "$(size_state "${films[0]}")"
check "200000 bytes smaller: both stay" "300000 100000" "$(size_state "${films[1]}")"
check "200000 bytes smaller: the film keeps its bytes" "same" \
  "$(same_bytes "${films[1]}" "${films[1]}.original")"
check "a larger copy replaces the film" "300005 no-copy" "$(size_state "${films[2]}")"

finish
