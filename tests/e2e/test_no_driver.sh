#!/usr/bin/env bash
# Without ftd2xx.dll beside the program: an error box, then the program
# closes by itself with its settings saved.
source "$(dirname "$0")/lib.sh"
e2e_begin no_driver

rm -f "$E2E_RUN/ftd2xx.dll"
e2e_start
box="$(ui msgbox "Не найдена библиотека ftd2xx.dll." ok 30)"
e2e_check "error box shown ($box)" grep -q '^Ошибка!: Не найдена библиотека ftd2xx.dll.' <<<"$box"
e2e_wait_exit 20 || e2e_fail "program still running after the error box"
e2e_check "settings file written on the way out" [ "$(e2e_ini_value Programm FirstRun)" = 0 ]
e2e_check "form texts saved" e2e_ini_value Programm String12 >/dev/null
e2e_check "window rectangle saved ($(e2e_ini_value MainWnd W) wide)" [ -n "$(e2e_ini_value MainWnd W)" ]
e2e_end
