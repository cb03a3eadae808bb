#!/usr/bin/env bash
# The service view in service mode: the raw values of a generation-2 and a
# generation-1 instrument, the series list and counter with their .sdat file
# across a restart, the keypad's service buttons (LOG.LOG, erase, standard
# parameters) and the run-in mode started and stopped with box 650.
source "$(dirname "$0")/lib.sh"
e2e_begin service_view

# Text of a control of the service view.
sv() { ui find "$E2E_CAPTION" 10 child-text "$E2E_CAPTION" "$1"; }
# Waits until control 670 shows the text.
wait_counter() {  # <text> <timeout s>
  local deadline=$((SECONDS + $2))
  while ((SECONDS < deadline)); do
    [ "$(sv 670)" = "$1" ] && return 0
    sleep 0.5
  done
  return 1
}
stop_program() {
  ui find "$E2E_CAPTION" 10 close >/dev/null
  e2e_wait_exit 20 || e2e_fail "program did not end"
}
# The view lies right of x 500, so the window is made wide enough to show it.
service_ini() {  # [extra lines...]
  e2e_write_ini "[MainWnd]" "X=0" "Y=0" "W=1270" "H=900" "[Programm]" "FirstRun=0" "ServiceMode=1" "$@"
}
# Waits until control 670 counts at least n series received in this run.
wait_run_count() {  # <n> <timeout s>
  local deadline=$((SECONDS + $2)) text
  while ((SECONDS < deadline)); do
    text="$(sv 670)"
    [ "${text%%(*}" -ge "$1" ] 2>/dev/null && return 0
    sleep 0.5
  done
  return 1
}
SDAT="$E2E_DATA/K2V000017.sdat"

# ---- generation 2 (the simulator's default instrument)
service_ini
e2e_sim_config measurement_count=2 voltages=45.2,47.0,51.3 speed=20
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" 10 wait-text status "Проведено измерений" 10 >/dev/null
sleep 1
e2e_shot gen2
e2e_check "602 serial number" [ "$(sv 602)" = K2V000017 ]
e2e_check "674 generation 2" [ "$(sv 674)" = "К200В2" ]
e2e_check "670 first run 0(0)" [ "$(sv 670)" = "0(0)" ]
e2e_check "empty .sdat created" [ -f "$SDAT" ] && [ ! -s "$SDAT" ]
e2e_check "605 version shown ($(sv 605))" [ -n "$(sv 605)" ]
e2e_check "label 681 U1" [ "$(sv 681)" = U1 ]
e2e_check "671 U1 value in kV ($(sv 671))" grep -q " кВ$" <<<"$(sv 671)"
e2e_check "677 LATR_I with 3 decimals ($(sv 677))" grep -Eq "^[0-9]+\.[0-9]{3} А$" <<<"$(sv 677)"
e2e_check "generation 2 leaves 603, 606 and 630 empty" [ -z "$(sv 603)$(sv 606)$(sv 630)" ]
e2e_check "key texts /\\ and \\/" [ "$(sv 640)|$(sv 641)" = '/\|\/' ]

e2e_run_series 90 || e2e_abort "series 1 did not end"
e2e_run_series 90 || e2e_abort "series 2 did not end"
wait_counter "2(2)" 10 || e2e_fail "670 after two series: $(sv 670)"
rows="$(ui find "$E2E_CAPTION" 10 list-rows "$E2E_CAPTION" 601)"
e2e_log "rows: $rows"
e2e_check "two rows listed" [ "$(wc -l <<<"$rows")" = 2 ]
e2e_check "first row: two values, four empty columns, 46.1 kV mean" \
  grep -q '^45.2 кВ|47.0 кВ|||||46.1 кВ|' <<<"$rows"
e2e_check ".sdat holds two records" [ "$(stat -c %s "$SDAT")" = 128 ]
e2e_shot two-series

ui_must find "$E2E_CAPTION" 10 click-in "$E2E_CAPTION" 648 find "log.log" 10 wait-text 901 "START" 20 >/dev/null
e2e_shot log-viewer
ui find "log.log" 10 close-box "log.log" >/dev/null
ui_must find "$E2E_CAPTION" 10 click-in "$E2E_CAPTION" 647 msgbox "Результаты прогонки скрыты!" ok 20 >/dev/null

e2e_check "before ГОСТ the simulator pauses 0 min" [ "$(ui find "$E2E_CAPTION" 10 text 134)" = "0 мин." ]
ui_must find "$E2E_CAPTION" 10 click-in "$E2E_CAPTION" 646 wait-text 134 "5 мин." 20 >/dev/null
fields="$(ui find "$E2E_CAPTION" 10 text 133 text 134 text 135 text 136 text 137 | tr '\n' '|')"
e2e_check "ГОСТ sets the standard parameters ($fields)" [ "$fields" = "6|5 мин.|есть|2 кВ/с|100 кВ|" ]
stop_program

# ---- restart: the history comes back from the file
e2e_sim_config measurement_count=2 voltages=45.2,47.0,51.3 speed=20
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection after restart"
wait_counter "0(2)" 10 || e2e_fail "670 after restart: $(sv 670)"
e2e_check "rows listed again" [ "$(ui find "$E2E_CAPTION" 10 list-count "$E2E_CAPTION" 601)" = 2 ]
e2e_check "restart appended nothing" [ "$(stat -c %s "$SDAT")" = 128 ]
e2e_shot restarted
stop_program

# ---- generation 1
service_ini
e2e_sim_config description=ORLA-K200V serial=K1V000005 measurement_count=2 speed=20
e2e_start
e2e_wait_connected 30 || e2e_abort "no generation-1 connection"
ui_must find "$E2E_CAPTION" 10 wait-text status "Проведено измерений" 10 >/dev/null
sleep 1
e2e_shot gen1
e2e_check "674 generation 1" [ "$(sv 674)" = "К200В" ]
e2e_check "602 serial" [ "$(sv 602)" = K1V000005 ]
e2e_check "630 status bit ($(sv 630))" grep -Eq "^MotorOn=[01]$" <<<"$(sv 630)"
e2e_check "636 status bit ($(sv 636))" grep -Eq "^IzmerMode=[01]$" <<<"$(sv 636)"
e2e_check "603 reset cause ($(sv 603))" grep -Eq "^[0-9]+$" <<<"$(sv 603)"
e2e_check "604 resets since start 0" [ "$(sv 604)" = 0 ]
e2e_check "606 calibration in hex ($(sv 606))" grep -Eq "^[0-9A-F]{4}h$" <<<"$(sv 606)"
e2e_check "607 method ($(sv 607))" [ "$(sv 607)" = "ОРЛА-К200" ]
e2e_check "608 table lift ($(sv 608))" grep -Eq "^-?[0-9] $" <<<"$(sv 608)"
e2e_check "generation 1 leaves 671..677 empty" [ -z "$(sv 671)$(sv 677)" ]
stop_program

# ---- run-in: series follow one another until box 650 is cleared
service_ini "ProgonkaMode=1"
e2e_sim_config measurement_count=1 voltages=45.2 speed=20
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection for run-in"
e2e_check "box 650 ticked from the settings" [ "$(ui find "$E2E_CAPTION" 10 checked "$E2E_CAPTION" 650)" = 1 ]
e2e_run_series 90 || e2e_abort "run-in series 1 did not end"
wait_run_count 3 90 || e2e_fail "run-in did not go on by itself: $(sv 670)"
e2e_shot run-in
ui_must find "$E2E_CAPTION" 10 click-in "$E2E_CAPTION" 650 >/dev/null
e2e_check "box 650 cleared" [ "$(ui find "$E2E_CAPTION" 10 checked "$E2E_CAPTION" 650)" = 0 ]
# The series under way (if any) ends; none follows it.
ui find "$E2E_CAPTION" 10 wait-enabled 170 1 60 >/dev/null
sleep 8
before="$(sv 670)"
sleep 6
e2e_check "no series after clearing 650 ($before, then $(sv 670))" [ "$(sv 670)" = "$before" ]
e2e_check "START free after run-in" [ "$(ui find "$E2E_CAPTION" 10 enabled 170)" = 1 ]
e2e_shot run-in-stopped
stop_program

# ---- run-in without service mode: one series only
sdat_size="$(stat -c %s "$SDAT")"
e2e_write_ini "[Programm]" "FirstRun=0" "ServiceMode=0" "ProgonkaMode=1"
e2e_sim_config measurement_count=1 voltages=45.2 speed=20
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection without service mode"
e2e_run_series 90 || e2e_abort "series without service mode did not end"
sleep 8
e2e_check "no restart without service mode" [ "$(ui find "$E2E_CAPTION" 10 enabled 170)" = 1 ]
e2e_check "no service data log without service mode" [ "$(stat -c %s "$SDAT")" = "$sdat_size" ]
e2e_end
