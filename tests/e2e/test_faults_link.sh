#!/usr/bin/env bash
# Link faults through whole series: damaged CRCs, split answers and garbage
# bytes all through one series, and the cable pulled mid-series and put back
# before the instrument finishes. Each finished series is archived exactly
# once (log.dat grows by one group per series) and PRINT unlocks.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin faults_link

# ---- every 7th answer split, every 50th with a damaged CRC, garbage now and then
e2e_sim_config speed=4 measurement_count=2 voltages=45.2,47.0 split_answer_every=7 bad_crc_every=50 garbage_every=37
archive_write_ini
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection through split answers"
e2e_run_series 120 || e2e_abort "the series did not end through the faults"
e2e_check "one series archived" archive_wait_size "$ARCHIVE_GROUP" 10
status="$(ui find "$E2E_CAPTION" 10 text status)"
e2e_check "both values shown ($status)" grep -qF "45.2 кВ 47.0 кВ" <<<"$status"
answers=$(grep -c ' R ' "$E2E_JOURNAL")
e2e_log "$answers reads in the journal"
e2e_check "the series ran over more than 100 answers" [ "$answers" -gt 100 ]
sleep 3
e2e_check "still one series a while later" [ "$(archive_size)" = "$ARCHIVE_GROUP" ]
e2e_shot crc-split-garbage
ui find "$E2E_CAPTION" 10 close >/dev/null
e2e_wait_exit 20 || e2e_abort "the program did not end"

# ---- unplugged mid-series, back before the instrument has finished
# speed 2: first value about 12 s after START, the end about 30 s after it.
e2e_sim_config speed=2 measurement_count=2 voltages=40.0,42.0 unplug_at_ms=16000 replug_at_ms=19000
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" 10 click 170 >/dev/null
ui_must find "$E2E_CAPTION" 10 wait-text status "Поиск прибора" 30 >/dev/null
e2e_log "unplugged"
e2e_shot unplugged-before-end
ui_must find "$E2E_CAPTION" 10 wait-text status "Проведено измерений" 30 >/dev/null
e2e_log "back: $(ui find "$E2E_CAPTION" 10 text status)"
ui_must find "$E2E_CAPTION" 10 wait-enabled 172 1 90 >/dev/null
e2e_check "two series archived in all" archive_wait_size $((2 * ARCHIVE_GROUP)) 10
status="$(ui find "$E2E_CAPTION" 10 text status)"
e2e_check "both values shown ($status)" grep -qF "40.0 кВ 42.0 кВ" <<<"$status"
sleep 5
e2e_check "still two series a while later" [ "$(archive_size)" = $((2 * ARCHIVE_GROUP)) ]
e2e_shot replugged-before-end
e2e_end
