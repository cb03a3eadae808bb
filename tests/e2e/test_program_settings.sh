#!/usr/bin/env bash
# The program settings dialog: it opens at a first start, keeps a two-line
# organisation name through a restart (encoded in the settings file) and into
# a saved protocol and through an Enter pressed as it opens; ОТМЕНА and the
# close box change nothing. OK writes them at once: a kill -9 right after it
# loses nothing.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/protocol_lib.sh"
source "$HERE/install_template.sh"
source "$HERE/archive_lib.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}"
e2e_begin program_settings

DIALOG="Настройка программы"
ORG1="ООО Тест-Лаб"
ORG2="Отдел диагностики масел №5"

texts() { ui find "$DIALOG" 10 text 102 text 106 text 107 text 108; }

# ---- first start: the prompt, then the dialog before the main window
e2e_write_ini "[Programm]" "FirstRun=1"
e2e_start
ui_must msgbox "Пожалуйста, заполните!" ok 30 >/dev/null
ui_must find "$DIALOG" 20 >/dev/null
e2e_check "dialog 500 opens at a first start, main window still hidden" [ "$(ui shown "$E2E_CAPTION")" = 0 ]
e2e_check "fields start empty" [ -z "$(texts | tr -d '\n')" ]
ui_must find "$DIALOG" set-text 102 "$ORG1\\n$ORG2" set-text 106 "K2V000017" \
  set-text 107 "Начальник лаборатории" set-text 108 "Сидоров С.С." >/dev/null
e2e_shot first-run-filled
ui_must find "$DIALOG" click 1 >/dev/null
e2e_wait_connected 30 || e2e_abort "no connection"
# On disk at OK: a crash right after it loses nothing.
e2e_kill
e2e_check "name written at OK with its line break encoded" \
  [ "$(e2e_ini_value Programm OrganisationName)" = "$ORG1®\`$ORG2" ]
e2e_check "settings written at OK, before any exit" [ "$(e2e_ini_value Programm PriborSerialNumber)" = K2V000017 -a \
  "$(e2e_ini_value Programm DirektorName)" = "Сидоров С.С." -a "$(e2e_ini_value Programm FirstRun)" = 0 ]
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection after the kill"

# ОТМЕНА and the close box leave the texts alone.
ui_must find "$E2E_CAPTION" 10 menu 207 find "$DIALOG" 10 set-text 108 "Другой" set-text 102 "Другая" click 2 >/dev/null
ui_must find "$E2E_CAPTION" 10 menu 207 find "$DIALOG" 10 set-text 107 "Другой" close >/dev/null
ui_must find "$E2E_CAPTION" 10 menu 207 find "$DIALOG" 10 >/dev/null
want="$ORG1"$'\n'"$ORG2"$'\n'"K2V000017"$'\n'"Начальник лаборатории"$'\n'"Сидоров С.С."
e2e_check "ОТМЕНА and the close box changed nothing" [ "$(texts)" = "$want" ]
e2e_shot reopened
# Enter makes a new line in the name field; ОТМЕНА then drops it.
typed="$(ui find "$DIALOG" set-text 102 "AB" focus 102 key 0x23 key enter key 0x43 text 102 shown "$DIALOG")"
e2e_check "Enter breaks the line in the name field" [ "$typed" = "AB"$'\n'"c"$'\n'"1" ]
typed="$(ui find "$DIALOG" set-text 102 "AB" focus 102 key end key tab focused text 102)"
e2e_check "Tab in the name field moves to the serial number and types nothing ($typed)" [ "$typed" = $'106\nAB' ]
ui_must find "$DIALOG" click 2 find "$E2E_CAPTION" 10 close wait-exit 20 >/dev/null
e2e_wait_exit 20

# Read back after the kill, the CR came back as a blank (the file's rule).
e2e_check "name saved with its line break as read back" \
  [ "$(e2e_ini_value Programm OrganisationName)" = "$ORG1 \`$ORG2" ]
e2e_check "serial, head and name saved" [ "$(e2e_ini_value Programm PriborSerialNumber)" = K2V000017 -a \
  "$(e2e_ini_value Programm Direktor)" = "Начальник лаборатории" -a "$(e2e_ini_value Programm DirektorName)" = "Сидоров С.С." ]
e2e_check "FirstRun cleared" [ "$(e2e_ini_value Programm FirstRun)" = 0 ]

# ---- restart: no prompt, the dialog shows the two lines; a saved protocol
# prints them.
install_protocol_template "$E2E_DATA" || e2e_abort "template not installed"
e2e_sim_config measurement_count=1 voltages=45.2
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection after the restart"
e2e_check "no first-run prompt the second time" ui find "$E2E_CAPTION" no-msgbox
ui_must find "$E2E_CAPTION" 10 menu 207 find "$DIALOG" 10 >/dev/null
e2e_check "two-line name after the restart" [ "$(texts)" = "$want" ]
# A stray Enter at the opening adds a line after the name, not in its place.
typed="$(ui find "$DIALOG" key enter key 0x43 text 102)"
e2e_check "the name survives Enter at the opening" [ "$typed" = "$ORG1"$'\n'"$ORG2"$'\n'"c" ]
ui_must find "$DIALOG" click 2 find "$E2E_CAPTION" 10 menu 207 find "$DIALOG" 10 >/dev/null
ui_must find "$DIALOG" click 1 >/dev/null  # OK again must not change the name
e2e_run_series 90
ui_must find "$E2E_CAPTION" 10 set-text 140 "П-5" menu 201 >/dev/null
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\protokol5" || e2e_fail "save dialog"
archive_answer_amendment "номер протокола" "Сидоров С.С." || e2e_fail "the amendment's reason"
sleep 1
text="$(protocol_rtf_text "$E2E_RUN/protokol5.rtf")"
e2e_check "protocol shows the first line" grep -qF -- "$ORG1" <<<"$text"
e2e_check "protocol shows the second line" grep -qF -- "$ORG2" <<<"$text"
e2e_check "protocol shows the serial number" grep -qF -- "K2V000017" <<<"$text"
ui_must find "$E2E_CAPTION" close wait-exit 20 >/dev/null
e2e_wait_exit 20
e2e_check "name still saved the same after OK" \
  [ "$(e2e_ini_value Programm OrganisationName)" = "$ORG1®\`$ORG2" ]
e2e_end
