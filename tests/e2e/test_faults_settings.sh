#!/usr/bin/env bash
# A write failing while the instrument's settings are changed in dialog 400:
# a generation-2 settings frame cut short by the driver, a generation-1 menu
# walk with the cable pulled as it steps to the next item, and a walk whose
# steps are lost every time. The instrument ends with the settings chosen or
# the user is told; the link polls on, and after the replug the next series
# is archived once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
source "$(dirname "$0")/settings_lib.sh"
e2e_begin faults_settings

choose() {  # <choices for 510..515>
  local choice=($1) args=(find "$E2E_CAPTION" 10 menu 206 find "$DIALOG" 10) k
  for k in 0 1 2 3 4 5; do args+=(combo-select "${LISTS[$k]}" "${choice[$k]}"); done
  ui_must "${args[@]}" click 1 >/dev/null
}
no_box() { ui find "$E2E_CAPTION" 10 no-msgbox >/dev/null; }
start_idle() {
  e2e_start
  e2e_wait_connected 60 || e2e_abort "no connection"
  ui_must find "$E2E_CAPTION" 10 wait-text status "Проведено измерений" 20 >/dev/null
}
stop_program() {
  ui find "$E2E_CAPTION" 10 close >/dev/null
  e2e_wait_exit 20 || e2e_abort "the program did not end"
}
series_once() {  # <label> <archived groups expected after>
  ui_must find "$E2E_CAPTION" 10 wait-enabled 170 1 30 click 170 wait-enabled 172 0 20 wait-enabled 172 1 120 >/dev/null
  e2e_check "$1: the next series archived" archive_wait_size $(($2 * ARCHIVE_GROUP)) 10
  sleep 1
  e2e_check "$1: and only once" [ "$(archive_size)" = $(($2 * ARCHIVE_GROUP)) ]
}
NEW_CHOICE="2 2 0 1 2 1"
OLD="2|0 мин.|нет|2 кВ/с|100 кВ|"
archive_write_ini

# ---- generation 2: the driver writes only half of the settings frame, twice
e2e_sim_config measurement_count=2 voltages=45.2,47.0 fail_command=0x05 fail_command_mode=short fail_command_count=2
start_idle
e2e_check "generation 2 starts with $OLD" wait_parameters "$OLD" 10
choose "$NEW_CHOICE"
e2e_check "gen2: the chosen settings reach the instrument" wait_parameters "3|2 мин.|есть|1 кВ/с|80 кВ|" 20
e2e_check "gen2: no message, as nothing failed in the end" no_box
frames=$(grep -c ' W 05 48 ' "$E2E_JOURNAL")
e2e_log "gen2: settings frames written: $frames (two cut, one whole)"
e2e_check "gen2: the frame went again after each cut" [ "$frames" = 3 ]
e2e_shot gen2-after-cut-frames
e2e_check "gen2: the dialog opens with the new settings" \
  [ "$(ui find "$E2E_CAPTION" 10 menu 206 >/dev/null; selections)" = "$NEW_CHOICE" ]
ui find "$DIALOG" 10 click 2 >/dev/null
stop_program

# ---- generation 1: the cable pulled as the walk steps from the pause item on
NEW1="3 2 0 1 2 1"
e2e_sim_config description=ORLA-K200V measurement_count=2 voltages=45.2,47.0 \
  fail_command=0x48 fail_command_at=2 fail_command_mode=unplug fail_command_replug_ms=3000
start_idle
e2e_check "generation 1 starts with $OLD" wait_parameters "$OLD" 10
choose "$NEW1"
ui_must find "$E2E_CAPTION" 10 wait-text status "Поиск прибора" 20 >/dev/null
e2e_log "gen1: searching after the unplug in the menu walk"
e2e_shot gen1-unplugged
e2e_check "gen1: after the replug the whole choice is set" wait_parameters "4|2 мин.|есть|1 кВ/с|80 кВ|" 40
sleep 1
e2e_check "gen1: no message" no_box
e2e_check "gen1: the dialog opens with the chosen settings, sound included" \
  [ "$(ui find "$E2E_CAPTION" 10 menu 206 >/dev/null; selections)" = "$NEW1" ]
ui find "$DIALOG" 10 click 2 >/dev/null
e2e_shot gen1-after-replug
series_once gen1 1
stop_program

# ---- generation 1: every step to the next item lost
e2e_sim_config description=ORLA-K200V measurement_count=2 voltages=45.2,47.0 \
  fail_command=0x48 fail_command_count=1000 fail_command_mode=error
start_idle
choose "$NEW1"
deadline=$((SECONDS + 60))
until [ "$(ui count-windows "Ошибка!")" != 0 ] || ((SECONDS > deadline)); do sleep 0.5; done
e2e_shot gen1-told
box="$(ui find "$E2E_CAPTION" 10 msgbox "Настройки прибора изменены не полностью." ok 10)"
e2e_check "gen1 lost steps: the user is told ($box)" grep -q "изменены не полностью" <<<"$box"
e2e_check "gen1 lost steps: only the first item is new, the rest as before" \
  wait_parameters "4|0 мин.|нет|2 кВ/с|100 кВ|" 10
e2e_shot gen1-partly
polls=$(grep -c ' W ' "$E2E_JOURNAL")
sleep 2
e2e_check "gen1 lost steps: polling goes on" [ "$(grep -c ' W ' "$E2E_JOURNAL")" -gt "$polls" ]
stop_program
e2e_end
