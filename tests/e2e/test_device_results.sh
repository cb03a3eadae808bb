#!/bin/bash
# Item 210 lists the results stored in the instrument with their dates, times,
# voltages and statistics; the progress bar shows while they come; closing the
# viewer (close box or Esc) stops the transfer. "В архив" takes the rows
# chosen into log.dat once, also when the instrument's clock is days off.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin device_results

VIEWER="Результаты испытаний, сохраненные в приборе"
STORED=5 SEED=3 CLOCK_START=1796083200 HOUR_OFFSET=-2

# The rows the simulator's made-up results must give: one a day before the
# clock's start at 10:00 local time, six values each from its generator.
expected_rows() {  # <count> <seed> <clock start> <hour offset>
  python3 - "$@" <<'PY'
import datetime, math, sys
n, seed, start, offset = (int(a) for a in sys.argv[1:])
r = seed or 1
today = start // 86400 * 86400
for i in range(n):
    x = []
    for _ in range(6):
        r = (r * 1103515245 + 12345) % 2**32
        x.append(420 + (r >> 16) % 161)
    stamp = today - (n - i) * 86400 + (10 - offset) * 3600
    when = datetime.datetime(1970, 1, 1) + datetime.timedelta(seconds=(stamp + offset * 3600) % 2**32)
    m = int(sum(x) / 6 + 0.5)
    q = sum((m - v) ** 2 for v in x) // 5
    rms = int(math.sqrt(q + 0.5))
    cv = int(rms * 100 / m + 0.5)
    volts = "".join(" %.1f кВ" % (v / 10.0) for v in x)
    print("%d.%d.%d|%d:%02d|%s|%.1f кВ|%.1f кВ|%.1f %%|" % (when.day, when.month, when.year, when.hour, when.minute,
                                                         volts, m / 10.0, rms / 10.0, cv))
PY
}

stored_requests() { grep -c ' W 11 ' "$E2E_JOURNAL"; }
polling() { ui find "$E2E_CAPTION" 10 wait-text status "Проведено измерений" 10 >/dev/null; }
no_progress_bar() { ! ui find "$VIEWER" 10 child-text "$VIEWER" 801 >/dev/null 2>&1; }

# Opens the viewer once the instrument's generation has added item 210.
open_viewer() {
  ui_must find "$E2E_CAPTION" 10 menu 210 find "$VIEWER" 30 >/dev/null
}

restart_program() {  # <sim keys...>
  ui find "$E2E_CAPTION" 10 close wait-exit 20 >/dev/null
  e2e_wait_exit 20 || e2e_abort "the program did not end"
  e2e_sim_config "$@"
  e2e_start
  e2e_wait_connected 60 || e2e_abort "no connection"
}

# --- the list of the stored results
e2e_sim_config stored_results=$STORED seed=$SEED clock_start=$CLOCK_START hour_offset=$HOUR_OFFSET
e2e_write_ini "[Programm]" "FirstRun=0"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
e2e_check "generation 2 adds item 210" [ "$(ui find "$E2E_CAPTION" 10 menu-has 210)" = 1 ]
wait_rows() {  # <count>: true once the list holds that many rows and the bar is gone
  local deadline=$((SECONDS + 30))
  while ((SECONDS < deadline)); do
    [ "$(ui find "$E2E_CAPTION" 10 list-count "$VIEWER" 701)" = "$1" ] && no_progress_bar && return 0
    sleep 0.5
  done
  return 1
}
open_viewer
wait_rows $STORED
e2e_shot listed
got="$(ui find "$E2E_CAPTION" 10 list-rows "$VIEWER" 701)"
want="$(expected_rows $STORED $SEED $CLOCK_START $HOUR_OFFSET)"
e2e_log "rows:"$'\n'"$got"
e2e_check "the stored results, their dates, times, voltages and statistics" [ "$got" = "$want" ]
[ "$got" = "$want" ] || diff <(echo "$want") <(echo "$got")
e2e_check "one request per stored result" [ "$(stored_requests)" = "$STORED" ]
e2e_check "the progress bar is gone after the transfer" no_progress_bar

# --- "В архив": the first two rows, then the same two again
HOME_KEY=0x24  # VK_HOME: selects the first row
archived_column() { ui find "$E2E_CAPTION" 10 list-rows "$VIEWER" 701 | awk -F'|' '{printf "%s,", $7}'; }
e2e_check "\"В архив\" is disabled with nothing selected" [ "$(ui find "$VIEWER" 10 enabled 802)" = 0 ]
ui_must find "$VIEWER" 10 focus 701 key "$HOME_KEY" key shift+down >/dev/null
e2e_check "two rows selected enable \"В архив\"" [ "$(ui find "$VIEWER" 10 wait-enabled 802 1 5 enabled 802)" = 1 ]
ui_must find "$VIEWER" 10 click 802 msgbox "В архив добавлено результатов: 2." ok 20 >/dev/null
e2e_check "log.dat holds the two groups" archive_wait_size $((2 * ARCHIVE_GROUP)) 10
e2e_check "the column says so (got $(archived_column))" [ "$(archived_column)" = "да,да,,,," ]
e2e_shot imported
ui_must find "$VIEWER" 10 focus 701 key "$HOME_KEY" key shift+down >/dev/null
ui_must find "$VIEWER" 10 wait-enabled 802 1 5 click 802 \
  msgbox "Уже были в архиве и пропущены: 2." ok 20 >/dev/null
sleep 1
e2e_check "a second \"В архив\" adds nothing" [ "$(archive_size)" = $((2 * ARCHIVE_GROUP)) ]
ui_must find "$E2E_CAPTION" 10 menu 204 find "$ARCHIVE_VIEWER" 20 sleep 1 >/dev/null
e2e_check "the archive lists them" [ "$(ui find "$ARCHIVE_VIEWER" 10 list-count "$ARCHIVE_VIEWER" 701)" = 2 ]
rate="$(ui find "$ARCHIVE_VIEWER" 10 child-text "$ARCHIVE_VIEWER" 136)"
count="$(ui find "$ARCHIVE_VIEWER" 10 child-text "$ARCHIVE_VIEWER" 133)"
e2e_check "an imported series has no settings (got '$count', '$rate')" \
  [ "$count|$rate" = "нет данных|нет данных" ]
e2e_shot archive
ui_must find "$ARCHIVE_VIEWER" 10 key escape >/dev/null
open_viewer
sleep 1
e2e_check "a second opening fetches again into one list" wait_rows $STORED
e2e_check "each opening asks for every result" [ "$(stored_requests)" = $((2 * STORED)) ]
e2e_check "the viewer closes with its close box" \
  [ "$(ui find "$E2E_CAPTION" 10 close-box "$VIEWER" sleep 1 shown "$VIEWER")" = 0 ]
e2e_check "the program goes on polling" polling

# --- the instrument's clock eight days behind the computer's: a series
# measured now is archived with the computer's date and found by its values
restart_program measurement_count=3 stored_results=0 hour_offset=0 clock_start=$(($(date -u +%s) - 8 * 86400))
ui_must find "$E2E_CAPTION" 10 wait-text status "Проведено измерений" 60 sleep 2 click 170 \
  wait-text status "Проведено измерений 3" 180 wait-enabled 172 1 60 >/dev/null
e2e_check "the series is archived" archive_wait_size $((3 * ARCHIVE_GROUP)) 20
measured="$(date +%-d.%-m.%Y)"
open_viewer
e2e_check "the instrument lists the series" wait_rows 1
e2e_check "the column gives the archived series' date (got $(archived_column))" \
  [ "$(archived_column)" = "$measured," ]
e2e_shot clock-off
ui_must find "$VIEWER" 10 focus 701 key "$HOME_KEY" >/dev/null
ui_must find "$VIEWER" 10 wait-enabled 802 1 5 click 802 \
  msgbox "Уже были в архиве и пропущены: 1." ok 20 >/dev/null
sleep 1
e2e_check "\"В архив\" does not add it again" [ "$(archive_size)" = $((3 * ARCHIVE_GROUP)) ]
ui_must find "$E2E_CAPTION" 10 close-box "$VIEWER" >/dev/null

# --- a long transfer: the progress bar, and closing stops it
restart_program stored_results=400
for how in close-box escape; do
  before=$(stored_requests)
  open_viewer
  sleep 2
  e2e_check "$how: the progress bar shows during the transfer" \
    [ "$(ui find "$VIEWER" 10 child-text "$VIEWER" 801)" = "Получение" ]
  e2e_shot "progress-$how"
  if [ "$how" = close-box ]; then
    ui_must find "$E2E_CAPTION" 10 close-box "$VIEWER" >/dev/null
  else
    ui_must find "$VIEWER" 10 key escape >/dev/null
  fi
  e2e_check "$how: the viewer is gone" [ "$(ui find "$E2E_CAPTION" 10 shown "$VIEWER")" = 0 ]
  sleep 1  # a request already on its way is answered
  after=$(stored_requests)
  sleep 2
  e2e_log "$how: 0x11 requests $before before, $after at the close, $(stored_requests) later"
  e2e_check "$how: the transfer was under way" [ $((after - before)) -ge 2 ]
  e2e_check "$how: no request after the close" [ "$(stored_requests)" = "$after" ]
  e2e_check "$how: the transfer stopped early" [ $((after - before)) -lt 400 ]
done
e2e_shot closed
e2e_end
