#!/usr/bin/env bash
# The cable pulled during the long transfers: the instrument's log.log read
# (service view, ServiceMode=1) and the stored-results transfer (item 210).
# Each transfer ends with a box and what it read; the program searches
# again, takes the instrument back after the replug,
# and the next series is archived exactly once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin faults_service

VIEWER="Результаты испытаний, сохраненные в приборе"
stop_program() {
  ui find "$E2E_CAPTION" 10 close >/dev/null
  e2e_wait_exit 20 || e2e_abort "the program did not end"
}
back_and_series() {  # <label> <archived groups expected after> [searched: the search was seen]
  if [ "${3:-}" != searched ]; then
    ui_must find "$E2E_CAPTION" 10 wait-text status "Поиск прибора" 30 >/dev/null
    e2e_log "$1: searching after the unplug"
    e2e_shot "$1-unplugged"
  fi
  ui_must find "$E2E_CAPTION" 10 wait-text status "Проведено измерений" 40 >/dev/null
  e2e_log "$1: back"
  ui_must find "$E2E_CAPTION" 10 wait-enabled 170 1 30 click 170 wait-enabled 172 0 20 wait-enabled 172 1 120 >/dev/null
  e2e_check "$1: the next series archived once" archive_wait_size $(($2 * ARCHIVE_GROUP)) 10
  sleep 2
  e2e_check "$1: and only once" [ "$(archive_size)" = $(($2 * ARCHIVE_GROUP)) ]
}

# ---- unplugged while log.log is read
python3 -c "
import sys
with open(sys.argv[1], 'w') as f:
    for i in range(3000): f.write('01.12.2026 10:%02d:%02d START U=%03d.%d kV\r\n' % (i // 60 % 60, i % 60, 40 + i % 20, i % 10))
" "$E2E_RUN/big.log"
# The simulator opens it from the program's working folder (the data folder),
# so it is named by its full path.
# The cable stays out for 12 s, so the search is seen however late the
# driver looks on a loaded machine (tests side by side).
e2e_sim_config measurement_count=2 voltages=45.2,47.0 "device_log=$(e2e_winpath "$E2E_RUN/big.log")" \
  unplug_at_ms=12000 replug_at_ms=24000
e2e_write_ini "[MainWnd]" "X=0" "Y=0" "W=1270" "H=900" "[Programm]" "FirstRun=0" "ServiceMode=1"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" 10 click-in "$E2E_CAPTION" 648 >/dev/null
sleep 2
log_reads_started=$(grep -c ' W 08 ' "$E2E_JOURNAL")
e2e_log "log.log chunks asked for so far: $log_reads_started"
e2e_shot log-reading
back_and_series log 1
chunks=$(grep -c ' W 08 ' "$E2E_JOURNAL")
e2e_log "log.log chunks asked for in all: $chunks ($(stat -c %s "$E2E_RUN/big.log") bytes, 128 a chunk)"
e2e_check "the log read was under way at the unplug" [ "$log_reads_started" -ge 2 ]
# The box is the log window's own: the main window went on meanwhile.
box="$(ui find "$E2E_CAPTION" 10 msgbox "Прибор не отвечает. Файл log.log прочитан не полностью." ok 30)"
e2e_check "the log read ends with a box ($box)" grep -q "прочитан не полностью" <<<"$box"
e2e_shot log-after
ui find "log.log" 10 close-box "log.log" >/dev/null
stop_program

# ---- unplugged during the stored-results transfer
# Slow enough answers that the cable goes while the results still come in.
e2e_sim_config measurement_count=2 voltages=45.2,47.0 stored_results=1500 answer_latency_ms=10 \
  unplug_at_ms=8000 replug_at_ms=20000
e2e_write_ini "[Programm]" "FirstRun=0"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" 10 menu 210 find "$VIEWER" 30 >/dev/null
sleep 2
before=$(grep -c ' W 11 ' "$E2E_JOURNAL")
e2e_shot stored-transfer
ui_must find "$E2E_CAPTION" 10 wait-text status "Поиск прибора" 30 >/dev/null
at_unplug=$(grep -c ' W 11 ' "$E2E_JOURNAL")
e2e_log "stored results asked for: $before after 2 s, $at_unplug at the unplug"
e2e_check "the transfer was under way at the unplug" [ "$before" -ge 2 -a "$at_unplug" -lt 1500 ]
e2e_shot stored-unplugged
box="$(ui find "$E2E_CAPTION" 10 msgbox "Прибор не отвечает. Прочитаны не все результаты." ok 30)"
e2e_check "the transfer ends with a box ($box)" grep -q "Прочитаны не все" <<<"$box"
listed="$(ui find "$E2E_CAPTION" 10 list-count "$VIEWER" 701)"
e2e_check "the results read before the unplug are listed ($listed)" [ "${listed:-0}" -ge 1 ]
ui find "$E2E_CAPTION" 10 close-box "$VIEWER" >/dev/null
ui find "$VIEWER" 3 key escape >/dev/null 2>&1
back_and_series stored 2 searched
e2e_end
