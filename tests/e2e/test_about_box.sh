#!/usr/bin/env bash
# The about box: product and version lines, the instrument's version once it
# is known, the maker's lines, and the hidden build marks behind a left click
# on the product name with the right button held.
source "$(dirname "$0")/lib.sh"
e2e_begin about_box

ABOUT="О программе..."
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection"
# The version is asked for every fourth poll: wait for its answer.
for i in $(seq 50); do grep -q ' R 00 ' "$E2E_JOURNAL" && break; sleep 0.2; done
sleep 0.5

ui_must find "$E2E_CAPTION" 10 key f1 find "$ABOUT" 10 >/dev/null
e2e_shot about
e2e_check "product line" [ "$(ui find "$ABOUT" text 101)" = "ОРЛА-К200В" ]
e2e_check "program version" [ "$(ui find "$ABOUT" text 102)" = "Версия программы 5.00" ]
e2e_check "instrument version" [ "$(ui find "$ABOUT" text 103)" = "Версия прибора V2.31.07" ]
web="$(ui find "$ABOUT" text 107)"
e2e_check "web address under a reserved example domain ($web)" grep -qE '^www\.example\.(com|org)$' <<<"$web"
e2e_check "maker's lines filled" [ -n "$(ui find "$ABOUT" text 104)" -a -n "$(ui find "$ABOUT" text 106)" ]

ui_must find "$ABOUT" lclick-on 101 >/dev/null
e2e_check "a plain click on the product name changes nothing" \
  [ "$(ui find "$ABOUT" text 102)" = "Версия программы 5.00" -a "$(ui find "$ABOUT" text 107)" = "$web" ]
ui_must find "$ABOUT" lclick-on 101 rbutton >/dev/null
e2e_check "with the right button held the build marks show" \
  [ "$(ui find "$ABOUT" text 102)" = "5.02" -a "$(ui find "$ABOUT" text 107)" = "Jan 31 2019" ]
e2e_shot build-marks

ui_must find "$ABOUT" close sleep 1 >/dev/null
e2e_check "closed by its close box" [ "$(ui shown "$ABOUT")" = 0 ]
ui_must find "$E2E_CAPTION" menu 209 find "$ABOUT" 10 key escape sleep 1 >/dev/null
e2e_check "Esc closes it" [ "$(ui shown "$ABOUT")" = 0 ]
e2e_check "main window works again" [ "$(ui find "$E2E_CAPTION" enabled 170)" = 1 ]
e2e_end
