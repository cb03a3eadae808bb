#!/usr/bin/env bash
# The laboratory database through ODBC (Wine's odbc32 and unixODBC): while
# the SQLite file cannot be opened the main window counts the series that
# wait; "Проверить" in the program settings says what it finds or what the
# driver said, the password stays hidden; after OK the back catalogue goes
# in, a new series follows within two seconds with its Cyrillic texts, and a
# table dropped behind the program's back is made again and filled anew.
# Another database (PostgreSQL) then gets the whole archive. The register's
# lines follow the series into orla_journal, each with its seq and chain.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/archive_lib.sh"
source "$HERE/db_lib.sh"
e2e_begin database
db_start_postgres || e2e_abort "the private PostgreSQL cluster did not start"

DIALOG="Настройка программы"
DB="$E2E_RUN/lab.db"
GOOD="$(db_sqlite_connection "$DB");PWD=secret"
MATERIAL="Масло трансформаторное ГК"
query() {  # <sqlite|postgres> <sql>
  if [ "$1" = sqlite ]; then db_sqlite "$DB" "$2" 2>/dev/null; else db_psql "$2" 2>/dev/null; fi
}
rows() { query "${1:-sqlite}" "SELECT COUNT(*) FROM orla_series" || echo none; }
state() { ui find "$E2E_CAPTION" 10 text 177; }
wait_rows() {  # <count> <timeout s> [sqlite|postgres]
  local deadline=$((SECONDS + $2))
  while ((SECONDS < deadline)); do
    [ "$(rows "${3:-sqlite}")" = "$1" ] && return 0
    sleep 0.2
  done
  e2e_log "rows: $(rows "${3:-sqlite}"), expected $1"
  return 1
}

# Three series of earlier days, and a database that cannot be opened.
cmake --build "$BUILD/native" --target bench_archive >/dev/null || e2e_abort "no bench_archive"
mkdir -p "$E2E_DATA"
(cd "$E2E_DATA" && "$BUILD/native/bin/bench_archive" source 3 "$(printf 'Т-1' | iconv -t CP1251)" 2026-01-05 7 >/dev/null)
archive_write_ini "PriborSerialNumber=К-0042" "String1=$MATERIAL" \
  "Database=Driver={SQLite3};Database=$E2E_RUN/no-such-folder/lab.db;PWD=secret"
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection"
line=
for _ in $(seq 1 40); do line="$(state)"; [ "$line" = "В базу не передано: 3" ] && break; sleep 0.5; done
e2e_check "the series that wait are counted ($line)" [ "$line" = "В базу не передано: 3" ]
e2e_check "no box for a database that cannot be reached" ui find "$E2E_CAPTION" no-msgbox
e2e_shot waiting

# The dialog hides the password; "Проверить" says what it found.
shown="$(ui find "$E2E_CAPTION" 10 menu 207 find "$DIALOG" 10 text 110)"
e2e_check "password hidden in the dialog ($shown)" [ "${shown##*;}" = "PWD=********" ]
found="$(ui find "$DIALOG" click 111 msgbox "Не удалось соединиться" ok 30)"
e2e_check "the check gives the driver's words ($found)" [ -n "${found#*Не удалось соединиться с базой данных.}" ]
ui_must find "$DIALOG" set-text 110 "${GOOD%;PWD=*};PWD=********" >/dev/null
e2e_shot dialog
ui_must find "$DIALOG" click 111 >/dev/null
found="$(ui_must msgbox "Соединение установлено" ok 30)"
e2e_check "the check names the DBMS and the missing table ($found)" \
  bash -c '[[ "$1" == *SQLite* && "$1" == *"Таблицы orla_series нет"* ]]' _ "$found"
ui_must find "$DIALOG" click 1 >/dev/null
e2e_check "the stored password is kept" [ "$(e2e_ini_value Programm Database)" = "$GOOD" ]

# The back catalogue, then a new series within seconds.
e2e_check "back catalogue sent" wait_rows 3 30
for _ in $(seq 1 20); do [ -z "$(state)" ] && break; sleep 0.3; done
e2e_check "nothing waits any more" [ -z "$(state)" ]
e2e_run_series 90 || e2e_abort "series did not end"
start=$SECONDS
e2e_check "the new series is in the database within 2 s" wait_rows 4 2
e2e_log "new series in the database after $((SECONDS - start)) s"
e2e_check "Cyrillic texts round-trip" [ "$(query sqlite "SELECT material FROM orla_series ORDER BY test_time DESC LIMIT 1")" = "$MATERIAL" ]
e2e_check "one instrument, its serial number" [ "$(query sqlite "SELECT DISTINCT instrument_serial FROM orla_series")" = "К-0042" ]
e2e_check "the mark says four records" grep -q "^records 4" "$E2E_DATA/database-sent.txt"
# The register: the line left by an earlier run (seq 1), then this series.
register_line() { sed -n "${1}p" "$E2E_DATA/journal.csv" | tr -d '\r' | awk -F';' '{ print $1 "|" $3 "|" $11 }'; }
wait_journal() {  # <sqlite|postgres> <expected "seq|event|chain" of the newest line>
  local got= deadline=$((SECONDS + 10))
  while ((SECONDS < deadline)); do
    got="$(query "$1" "SELECT seq, event, chain_sha256 FROM orla_journal ORDER BY seq DESC LIMIT 1")"
    [ "$got" = "$2" ] && return 0
    sleep 0.3
  done
  e2e_log "orla_journal's newest line: $got, expected $2"
  return 1
}
want="$(register_line 2)"
e2e_check "the register holds the series as line 2 ($want)" bash -c '[[ "$1" == 2\|series\|* ]]' _ "$want"
e2e_check "orla_journal holds the series' line with its seq and chain" wait_journal sqlite "$want"
e2e_check "each line once" [ "$(query sqlite "SELECT COUNT(*) FROM orla_journal")" = 2 ]
e2e_shot sent

# A table dropped while the program runs is made again; all goes in again.
query sqlite "DROP TABLE orla_series"
e2e_run_series 90 || e2e_abort "second series did not end"
e2e_check "table made again and the whole archive resent" wait_rows 5 15
found="$(ui find "$E2E_CAPTION" 10 menu 207 find "$DIALOG" 10 click 111 msgbox "Соединение установлено" ok 30)"
e2e_check "the check counts this instrument's series ($found)" \
  bash -c '[[ "$1" == *"серий этого прибора в ней: 5"* ]]' _ "$found"

# PostgreSQL: a refused login gives the server's words; the right one gets all five.
found="$(ui find "$DIALOG" 10 set-text 110 "$(db_postgres_connection wrong-password)" click 111 \
  msgbox "Не удалось соединиться" ok 30)"
e2e_check "a wrong password: the server's words ($found)" \
  bash -c '[[ "$1" == *"password authentication failed for user \"orla\""* ]]' _ "$found"
ui_must find "$DIALOG" 10 set-text 110 "$(db_postgres_connection)" click 1 >/dev/null
e2e_check "another database gets the whole archive" wait_rows 5 30 postgres
newest="$(query postgres "SELECT material, value_count, u1 IS NOT NULL, u6_no_breakdown, verdict FROM orla_series ORDER BY test_time DESC LIMIT 1")"
e2e_check "PostgreSQL holds the texts and the values ($newest)" [ "$newest" = "$MATERIAL|6|t|f|0" ]
e2e_check "PostgreSQL gets the whole register" wait_journal postgres "$(register_line 3)"
e2e_shot postgres

# The server goes away during a series and comes back: the series waits, then goes in.
db_stop_postgres
e2e_run_series 90 || e2e_abort "third series did not end"
for _ in $(seq 1 30); do line="$(state)"; [ "$line" = "В базу не передано: 1" ] && break; sleep 0.5; done
e2e_check "the series waits while the server is down ($line)" [ "$line" = "В базу не передано: 1" ]
tip="$(ui find "$E2E_CAPTION" 10 tooltip "$E2E_CAPTION" 177)"
e2e_check "the line's tip gives the driver's words in one line, no tab ($tip)" \
  bash -c '[[ "$1" == "Ошибка базы данных ("*"): "?* && "$1" != *[$'"'"'\t\r\n'"'"']* ]]' _ "$tip"
db_resume_postgres || e2e_abort "the cluster did not start again"
e2e_check "sent when the server answers again" wait_rows 6 30 postgres
e2e_end
