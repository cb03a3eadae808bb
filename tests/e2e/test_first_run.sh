#!/usr/bin/env bash
# FirstRun=1, or no settings file at all, asks for the program settings
# before the main window shows;
# saved negative coordinates start the window at 0, 0 with its minimum size.
source "$(dirname "$0")/lib.sh"
e2e_begin first_run

e2e_write_ini "[Programm]" "FirstRun=1" "String0=П-17" "[MainWnd]" "X=-32000" "Y=-32000" "W=160" "H=28"
e2e_start
box="$(ui msgbox "Пожалуйста, заполните!" ok 30)"
e2e_check "first-run prompt shown ($box)" grep -q '^Внимание!' <<<"$box"
shown="$(ui shown "$E2E_CAPTION")"
e2e_check "main window still hidden after the prompt (shown: $shown)" [ "$shown" = 0 ]
e2e_shot settings-dialog
# The program settings command opens next, before the main window shows;
# it is answered as a person would, with its default button.
settings="$(ui msgbox "" ok 20)"
e2e_check "program settings come next, main window still hidden ($settings)" \
  [ -n "$settings" -a "$(ui shown "$E2E_CAPTION")" = 0 ]
e2e_wait_connected 30 || e2e_abort "no connection"
e2e_check "protocol number restored" [ "$(ui find "$E2E_CAPTION" text 140)" = "П-17" ]
read -r x y w h <<<"$(ui find "$E2E_CAPTION" rect)"
e2e_check "negative saved position starts at 0,0 ($x,$y)" [ "$x" = 0 -a "$y" = 0 ]
e2e_check "at least 500 x 525 ($w x $h)" [ "${w:-0}" -ge 500 -a "${h:-0}" -ge 525 ]
ui_must find "$E2E_CAPTION" close wait-exit 20
e2e_wait_exit 20 || e2e_fail "program still running after close"
e2e_check "FirstRun reset to 0" [ "$(e2e_ini_value Programm FirstRun)" = 0 ]

# A computer where the program never ran has no settings file at all: that
# start asks too, and the serial number typed then ends the protocols.
rm -rf "$E2E_DATA"
E2E_FRESH=1 e2e_start
box="$(ui msgbox "Пожалуйста, заполните!" ok 30)"
e2e_check "a start without a settings file asks for the program settings ($box)" grep -q '^Внимание!' <<<"$box"
ui_must find "Настройка программы" 20 set-text 106 K2V000099 click 1 >/dev/null
e2e_wait_connected 30 || e2e_abort "no connection after the first start"
e2e_check "the serial number typed at the first start is kept" \
  [ "$(e2e_ini_value Programm PriborSerialNumber)" = K2V000099 ]
ui_must find "$E2E_CAPTION" close wait-exit 20
e2e_wait_exit 20 || e2e_fail "program still running after close"
e2e_end
