#!/usr/bin/env bash
# At 144 DPI (150 %) the layout is converted with that DPI, halves rounded away from zero as
# MulDiv does; and the program declares itself DPI aware, which is what makes Windows report the
# real DPI to it instead of stretching a 96-DPI window.
source "$(dirname "$0")/lib.sh"

manifest=$(x86_64-w64-mingw32-strings "$3" | tr -d '\r')
check "the manifest declares system DPI awareness" "<dpiAware>true</dpiAware>" \
  "$(grep -o '<dpiAware>[a-z]*</dpiAware>' <<<"$manifest")"
check "the manifest asks for no Common Controls 6 (BS_FLAT needs the classic look)" \
  "" "$(grep -o '<dependentAssembly' <<<"$manifest")"

cleanup+=("set_dpi default")
set_dpi 144
start_quellin

check "client area 5745 x 2865 twips at 144 DPI" "client=575x287" "$(q window | grep '^client=')"
check "controls placed from twips at 144 DPI" \
'101 0,38 573x222
102 117,0 119x38
103 234,0 179x38
104 291,261 281x24
105 0,0 119x38
106 -2,261 218x23
107 539,0 36x38' "$(q controls | sed -E 's/^([0-9]+) [A-Za-z]+ "[^"]*" ([-0-9]+,[0-9]+ [0-9]+x[0-9]+).*/\1 \2/')"

# The About window is drawn up in twips too.
q click-async 107
q about-wait >/dev/null
check "About window client area 4680 x 3330 twips at 144 DPI" "client=468x333" \
  "$(q about-window | grep '^client=')"
check "its image, product name, rights notice and Inf placed from twips at 144 DPI" \
'201 41,21 64x64
202 273,3 188x23
206 138,225 185x14
213 9,303 62x26' "$(q about-controls | tr -d '\r' | grep -E '^(201|202|206|213) ' |
                 sed -E 's/^([0-9]+) [A-Za-z]+ "[^"]*" ([-0-9]+,[0-9]+ [0-9]+x[0-9]+).*/\1 \2/')"

finish
