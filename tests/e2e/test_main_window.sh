#!/usr/bin/env bash
# First start without a data folder, the window a generation-2 instrument
# leaves behind, and what "Выход" writes to the settings file.
source "$(dirname "$0")/lib.sh"
e2e_begin main_window

e2e_check "no data folder before the first start" [ ! -e "$E2E_DATA" ]
E2E_FRESH=1 e2e_start
# The first start asks for the program settings (test_first_run); left as they are.
ui_must msgbox "Пожалуйста, заполните!" ok 30 >/dev/null
ui_must find "Настройка программы" 20 click 2 >/dev/null
e2e_wait_connected 30 || e2e_abort "no connection"
sleep 1
e2e_shot start
e2e_check "data folder created" [ -d "$E2E_DATA" ]
e2e_check "settings file created" [ -f "$E2E_INI" ]

today="$(e2e_today)"
dates="$(ui find "$E2E_CAPTION" text 144 text 150)"
e2e_check "both date fields show today ($today; got: ${dates//$'\n'/ | })" \
  [ "$dates" = "$today"$'\n'"$today" ]

items="$(ui find "$E2E_CAPTION" menu-has 210 menu-items 204)"
e2e_check "generation 2 adds item 210 ($items)" [ "$(head -1 <<<"$items")" = 1 ]
e2e_check "item 210 stands right before 204 ($(tail -1 <<<"$items"))" grep -qE '(^| )210 204( |$)' <<<"$(tail -1 <<<"$items")"
e2e_check "print and save grayed at start" \
  [ "$(ui find "$E2E_CAPTION" menu-enabled 172 menu-enabled 201 enabled 172 | tr '\n' ' ')" = "0 0 0 " ]

# Tab wraps from the last form field to the first and walks on from there;
# Shift+Tab walks back.
focus="$(ui find "$E2E_CAPTION" focus 152 key tab focused key tab focused)"
e2e_check "Tab from 152 goes to 140, then 141 (got: ${focus//$'\n'/ })" [ "$focus" = $'140\n141' ]
focus="$(ui find "$E2E_CAPTION" focus 170 key tab focused)"
e2e_check "Tab on a button does nothing (got: $focus)" [ "$focus" = 170 ]
focus="$(ui find "$E2E_CAPTION" focus 141 key shift+tab focused key shift+tab focused)"
e2e_check "Shift+Tab from 141 goes back to 140, then wraps to 152 (got: ${focus//$'\n'/ })" [ "$focus" = $'140\n152' ]

# The shot shows whether the field is tall enough for the underscore's last row.
ui_must find "$E2E_CAPTION" set-text 140 "ПР_001_" >/dev/null
e2e_shot underscore

rect="$(ui find "$E2E_CAPTION" rect)"
ui_must find "$E2E_CAPTION" menu 205 wait-exit 20
e2e_wait_exit 20 || e2e_fail "program still running after Выход"

e2e_check "FirstRun=0 written" [ "$(e2e_ini_value Programm FirstRun)" = 0 ]
for i in $(seq 0 12); do
  e2e_ini_value Programm "String$i" >/dev/null || e2e_fail "String$i missing from the settings file"
done
e2e_check "String4 holds the sample date" [ "$(e2e_ini_value Programm String4)" = "$today" ]
read -r x y w h <<<"$rect"
saved="$(e2e_ini_value MainWnd X) $(e2e_ini_value MainWnd Y) $(e2e_ini_value MainWnd W) $(e2e_ini_value MainWnd H)"
e2e_check "window rectangle saved ($saved, window was $rect)" [ "$saved" = "$x $y $w $h" ]
e2e_end
