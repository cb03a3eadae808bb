#!/usr/bin/env bash
# The device settings dialog shows the instrument's settings, OK changes a
# generation-2 and a generation-1 instrument and the main window's test
# parameters follow; a rate and voltage between the items show as extra
# items; ОТМЕНА and the close box change nothing; OK during a
# series is refused.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_lib.sh"
e2e_begin device_settings

open_dialog() { ui_must find "$E2E_CAPTION" 10 menu 206 find "$DIALOG" 10 >/dev/null; }

# <label> <choices for 510..515> <expected parameters>
change_and_check() {
  local label="$1" choice=($2) want="$3" args=(find "$DIALOG" 10) k
  open_dialog
  for k in 0 1 2 3 4 5; do args+=(combo-select "${LISTS[$k]}" "${choice[$k]}"); done
  ui_must "${args[@]}" >/dev/null
  e2e_shot "$label-chosen"
  ui_must find "$DIALOG" click 1 sleep 0.5 >/dev/null
  e2e_check "$label: dialog closed by OK" [ "$(ui shown "$DIALOG")" = 0 ]
  e2e_check "$label: main window shows $want" wait_parameters "$want" 30
  # The main window shows the five test parameters as soon as they are set;
  # a generation-1 walk sets the sound after them, so the dialog may need
  # another opening before it shows that too.
  local deadline=$((SECONDS + 20)) seen
  while :; do
    open_dialog
    seen="$(selections)"
    [ "$seen" = "$2" ] || ((SECONDS >= deadline)) || { ui_must find "$DIALOG" click 2 sleep 1 >/dev/null; continue; }
    break
  done
  e2e_check "$label: dialog opens with the new settings ($seen)" [ "$seen" = "$2" ]
  ui_must find "$DIALOG" click 2 sleep 0.5 >/dev/null
}

# ---- generation 2 (the simulator's default instrument)
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection"
# The item unlocks with the first status answer, just after the connection.
ui find "$E2E_CAPTION" 10 wait-text status "Проведено измерений" 20 >/dev/null
e2e_check "menu item enabled when idle" [ "$(ui find "$E2E_CAPTION" menu-enabled 206)" = 1 ]
open_dialog
e2e_shot gen2-opened
e2e_check "lists hold their items" \
  [ "$(ui find "$DIALOG" list-count "$DIALOG" 510 list-count "$DIALOG" 511 list-count "$DIALOG" 512 \
        list-count "$DIALOG" 513 list-count "$DIALOG" 514 list-count "$DIALOG" 515 | tr '\n' ' ')" = "6 10 2 4 5 2 " ]
# The e2e instrument: 6 values, no pause, no delay, 2 kV/s, 100 kV, sound on.
e2e_check "selection from the instrument ($(selections))" [ "$(selections)" = "5 0 1 2 4 0" ]
before="$(parameters)"
ui_must find "$DIALOG" combo-select 510 0 combo-select 513 0 combo-select 514 0 >/dev/null
e2e_shot widest-items
ui_must find "$DIALOG" click 2 sleep 0.5 >/dev/null
e2e_check "ОТМЕНА closes" [ "$(ui shown "$DIALOG")" = 0 ]
open_dialog
ui_must find "$DIALOG" combo-select 510 0 combo-select 514 0 close sleep 0.5 >/dev/null
e2e_check "the close box closes" [ "$(ui shown "$DIALOG")" = 0 ]
sleep 2
e2e_check "ОТМЕНА and the close box change nothing" [ "$(parameters)" = "$before" ]
open_dialog
e2e_check "nor does the dialog remember the abandoned choice" [ "$(selections)" = "5 0 1 2 4 0" ]
ui_must find "$DIALOG" click 2 >/dev/null

change_and_check gen2 "2 2 0 1 2 1" "3|2 мин.|есть|1 кВ/с|80 кВ|"
change_and_check gen2-back "5 0 1 3 4 0" "6|0 мин.|нет|5 кВ/с|100 кВ|"

# OK while a series runs: the worker refuses the change.
open_dialog
ui_must find "$E2E_CAPTION" 10 click 170 >/dev/null
sleep 3
ui_must find "$DIALOG" combo-select 510 0 click 1 >/dev/null
box="$(ui find "$E2E_CAPTION" 10 msgbox "Настройки прибора не изменены." ok 20)"
e2e_check "refused during a series ($box)" grep -q "Настройки прибора не изменены." <<<"$box"
e2e_check "count unchanged after the refusal" [ "$(ui find "$E2E_CAPTION" 10 text 133)" = 6 ]
ui find "$E2E_CAPTION" 10 click 171 >/dev/null
ui_must find "$E2E_CAPTION" close wait-exit 20 >/dev/null
e2e_wait_exit 20

# ---- generation 1, set from its own keys to values between the items
e2e_sim_config description=ORLA-K200V rise_rate=25 max_voltage=650
e2e_start
e2e_wait_connected 30 || e2e_abort "no generation-1 connection"
e2e_check "2.5 kV/s and 65 kV shown as they are" wait_parameters "6|0 мин.|нет|2.5 кВ/с|65 кВ|" 30
open_dialog
e2e_shot gen1-opened
e2e_check "generation-1 selection: the extra items ($(selections))" [ "$(selections)" = "5 0 1 4 5 0" ]
e2e_check "extra items read as the values" \
  [ "$(ui find "$DIALOG" text 513 text 514 | tr '\n' '|')" = "2.5 кВ/сек|65 кВ|" ]
ui_must find "$DIALOG" click 2 >/dev/null
change_and_check gen1 "3 2 0 1 2 1" "4|2 мин.|есть|1 кВ/с|80 кВ|"
ui_must find "$E2E_CAPTION" close wait-exit 20 >/dev/null
e2e_end
