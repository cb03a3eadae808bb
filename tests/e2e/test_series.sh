#!/usr/bin/env bash
# A series of five configured voltages on each protocol generation: the
# results line grows value by value, START and the device settings lock
# while measuring, PRINT unlocks at the end; closing during a series asks.
# Without a register of protocols the first series begins one, says so once,
# and registers the series with its record's hash.
source "$(dirname "$0")/lib.sh"
e2e_begin series
cmake --build "$BUILD/native" --target orla-archive >/dev/null || e2e_abort "no orla-archive"
E2E_NO_REGISTER=1

VOLTAGES="45.2,47.0,48.8,51.3,49.9"
FINAL="45.2 кВ 47.0 кВ 48.8 кВ 51.3 кВ 49.9 кВ  Среднее: 48.4 кВ"

for description in ORLA-K200V2 ORLA-K200V; do
  e2e_log "== $description"
  e2e_sim_config "description=$description" "voltages=$VOLTAGES" measurement_count=5 speed=10
  : > "$E2E_JOURNAL"
  e2e_start
  e2e_wait_connected 30 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" 30 wait-text 133 5 10 >/dev/null
  e2e_check "$description: PRINT locked before the first series" [ "$(ui find "$E2E_CAPTION" enabled 172)" = 0 ]
  want=1; [ "$description" = ORLA-K200V ] && want=0
  e2e_check "$description: item 210 present: $want" [ "$(ui find "$E2E_CAPTION" menu-has 210)" = "$want" ]
  if e2e_run_series 120; then
    lines="$(grep '^Проведено измерений' <<<"$E2E_SERIES_LINES")"
    e2e_check "$description: final line has all five values and the mean" grep -qF "$FINAL" <<<"$lines"
    e2e_check "$description: final line counts 5" grep -q '^Проведено измерений 5 *:' <<<"$(tail -1 <<<"$lines")"
    # Value by value: the count of shown values never falls and takes at
    # least three different values on the way to five.
    counts="$(awk '{ print gsub(/ кВ/, "") }' <<<"$lines" | uniq | tr '\n' ' ')"
    e2e_check "$description: results line grew value by value (values shown: $counts)" \
      awk -v c="$counts" 'BEGIN { n = split(c, a, " "); for (i = 2; i <= n; i++) if (a[i] + 0 < a[i-1] + 0) exit 1; exit !(n >= 3) }'
    state="$(ui find "$E2E_CAPTION" enabled 170 menu-enabled 206 menu-enabled 172 menu-enabled 201 | tr '\n' ' ')"
    e2e_check "$description: START, device settings, print and save enabled after the series ($state)" \
      [ "$state" = "1 1 1 1 " ]
  fi
  if [ -n "${E2E_NO_REGISTER:-}" ]; then
    sleep 1
    e2e_shot journal-started
    told="$(ui msgbox "Журнал протоколов (journal.csv) не найден и начат заново." ok 20)"
    e2e_check "a register begun anew is told ($told)" [ -n "$told" ]
    events="$(cut -d';' -f3 "$E2E_DATA/journal.csv" | tr '\r\n' '  ' | tr -s ' ')"
    e2e_check "the register holds journal_start, then series ($events)" [ "$events" = "journal_start series " ]
    # The series' line names the record log.dat holds, its chain holds.
    verdict="$("$BUILD/native/bin/orla-archive" verify "$E2E_DATA/log.dat" | grep '^journal:')"
    e2e_check "the register is whole against log.dat ($verdict)" [ "$verdict" = "journal: Журнал цел: 2 записи" ]
    unset E2E_NO_REGISTER
  fi
  e2e_shot "done-$description"
  if [ "$description" = ORLA-K200V ]; then
    # Closing during a series asks first; Нет keeps the program and the series.
    ui_must find "$E2E_CAPTION" 10 click 170 wait-enabled 170 0 30 >/dev/null
    ui find "$E2E_CAPTION" close >/dev/null
    box="$(ui find "$E2E_CAPTION" 10 msgbox "Идет испытание. Выйти из программы?" no 10)"
    e2e_check "closing during a series asks ($box)" grep -q "Идет испытание" <<<"$box"
    sleep 1
    e2e_check "Нет keeps the program" kill -0 "$E2E_APP_PID"
    ui find "$E2E_CAPTION" close >/dev/null
    ui find "$E2E_CAPTION" 10 msgbox "Идет испытание. Выйти из программы?" yes 10 >/dev/null
  else
    ui find "$E2E_CAPTION" close >/dev/null
  fi
  e2e_wait_exit 20 || e2e_fail "$description: program did not exit after close"
done
e2e_end
