#!/usr/bin/env bash
# The cable is pulled while a series runs and put back only after the
# instrument has finished and gone idle: the series is archived once and
# "ПЕЧАТЬ" unlocks, as if the end had been seen.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin unplug_series
# A slow instrument: the first value comes about 12 s after START, the series
# ends about 30 s after it and the instrument is idle 8 s later.
e2e_sim_config speed=2 measurement_count=2 voltages=40.0,42.0 unplug_at_ms=25000 replug_at_ms=60000
archive_write_ini
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" 10 click 170 wait-text status "Проведено измерений 1" 30
e2e_log "first value in"
ui_must find "$E2E_CAPTION" 10 wait-text status "Поиск прибора" 30
e2e_log "unplugged"
e2e_shot unplugged
ui_must find "$E2E_CAPTION" 10 wait-enabled 172 1 90
e2e_check "one series archived" archive_wait_size "$ARCHIVE_GROUP" 10
status="$(ui find "$E2E_CAPTION" 10 text status)"
e2e_check "both values shown ($status)" grep -qF "40.0 кВ 42.0 кВ" <<<"$status"
sleep 5
e2e_check "still one series a while later" [ "$(archive_size)" = "$ARCHIVE_GROUP" ]
e2e_shot replugged
e2e_end
