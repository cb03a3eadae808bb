#!/usr/bin/env bash
# The laboratory database's faults, each ending with nothing lost and nothing
# twice: the program killed while a 1 000-series back catalogue goes to
# PostgreSQL, then the server stopped in the middle of it; a series with
# long Cyrillic texts comes back byte for byte; an amendment filling all 13
# protocol texts with 255 characters adds its own row and keeps the original's.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/archive_lib.sh"
source "$HERE/db_lib.sh"
source "$HERE/install_template.sh"
e2e_begin database_faults
db_start_postgres || e2e_abort "the private PostgreSQL cluster did not start"

BACK=1000
TEXTS="protocol_number, material, standard, sample_source, sampling_date, appearance, liquid_temperature,
  room_temperature, humidity, sample_preparation, test_date, tester_position, tester_name"
SIGNS="АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ абвгдеёжзийклмнопрстуфхцчшщъыьэюя №«»—"
long_text() {  # <offset>: the form's 255 characters, no blank at either end for these offsets
  local s="${SIGNS:$1}$SIGNS$SIGNS$SIGNS$SIGNS"
  echo "${s:0:255}"
}
rows() { db_psql "SELECT COUNT(*) FROM orla_series" 2>/dev/null || echo none; }
versions() { echo $(($(archive_size) / ARCHIVE_GROUP)); }
state() { ui find "$E2E_CAPTION" 10 text 177; }
mark() { sed -n 's/^records \([0-9]*\)\r*$/\1/p' "$E2E_DATA/database-sent.txt" 2>/dev/null; }
# Every version once: as many rows as distinct keys, as many as log.dat holds.
complete() {  # <timeout s>
  local deadline=$((SECONDS + $1)) want got
  while :; do
    want="$(versions)"
    got="$(db_psql "SELECT COUNT(*) || '|' || COUNT(DISTINCT (instrument_serial, test_time, amendment)) FROM orla_series" 2>/dev/null)"
    [ "$got" = "$want|$want" ] && return 0
    ((SECONDS < deadline)) || { e2e_log "rows|distinct: $got, versions: $want"; return 1; }
    sleep 0.2
  done
}
rows_beyond() {  # <count> <timeout s>
  local deadline=$((SECONDS + $2)) n
  while n="$(rows)"; ! [[ "$n" =~ ^[0-9]+$ && "$n" -ge "$1" ]]; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}
# The bookkeeping never claims a record the table lacks: record n of the
# back catalogue was measured on day n after 1 January 2000.
mark_held() {
  local m
  m="$(mark)"
  m="${m:-0}"  # no mark yet: nothing claimed
  [ "$(db_psql "SELECT COUNT(*) FROM orla_series WHERE test_time < TIMESTAMP '2000-01-01' + $m * INTERVAL '1 day'")" = "$m" ]
}
# The 13 texts of the newest series' versions, as log.dat holds them and as the table does.
texts_match() {
  local archived stored
  cp "$E2E_DATA/log.dat" "$E2E_RUN/copy.dat"
  "$BUILD/native/bin/orla-archive" export "$E2E_RUN/copy.dat" --csv "$E2E_RUN/copy.csv" --all-versions >/dev/null
  archived="$(tail -n "$1" "$E2E_RUN/copy.csv" | tr -d '\r' | cut -d';' -f1-13)"
  stored="$(db_psql "SELECT concat_ws(';', $TEXTS) FROM orla_series
    WHERE test_time = (SELECT MAX(test_time) FROM orla_series) ORDER BY amendment")"
  [ -n "$stored" ] && [ "$archived" = "$stored" ]
}

# Inserts slowed to 5 ms a row (a batch of 200 takes a second), so that the
# faults land while rows arrive; the program still makes the table itself.
_db_psql_as postgres orla \
  "CREATE FUNCTION slow_row() RETURNS trigger LANGUAGE plpgsql AS \$\$BEGIN PERFORM pg_sleep(0.005); RETURN NEW; END\$\$" \
  "CREATE FUNCTION slow_table() RETURNS event_trigger LANGUAGE plpgsql AS
     \$\$BEGIN EXECUTE 'CREATE TRIGGER slow BEFORE INSERT ON orla_series FOR EACH ROW EXECUTE FUNCTION slow_row()'; END\$\$" \
  "CREATE EVENT TRIGGER slow_table ON ddl_command_end WHEN TAG IN ('CREATE TABLE') EXECUTE FUNCTION slow_table()" ||
  e2e_abort "no slowing trigger"

cmake --build "$BUILD/native" --target bench_archive orla-archive >/dev/null || e2e_abort "no native tools"
mkdir -p "$E2E_DATA"
(cd "$E2E_DATA" && "$BUILD/native/bin/bench_archive" source "$BACK" T 2000-01-01 1 >/dev/null)
form=()
for i in $(seq 0 12); do form+=("String$i=$(long_text $((5 * i)))"); done
archive_write_ini "PriborSerialNumber=Ф-7" "Database=$(db_postgres_connection)" "${form[@]}"

# Killed while the back catalogue goes in, started again.
e2e_start
rows_beyond 200 60 || e2e_abort "the back catalogue did not begin ($(rows) rows)"
e2e_kill
killed_at="$(rows)"
e2e_check "killed while rows arrive ($killed_at of $BACK, mark $(mark))" [ "$killed_at" -lt "$BACK" ]
e2e_check "after the kill the mark claims only rows the table holds" mark_held
e2e_start

# The server stopped while the rest goes in, started again.
rows_beyond $(($(rows) + 200)) 60 || e2e_abort "the rest did not begin ($(rows) rows)"
db_stop_postgres
stopped_mark="$(mark)" line=
for _ in $(seq 1 30); do line="$(state)"; [ "$line" = "В базу не передано: $((BACK - stopped_mark))" ] && break; sleep 0.5; done
e2e_check "stopped while rows arrive (mark $stopped_mark)" [ "${stopped_mark:-0}" -lt "$BACK" ]
e2e_check "while the server is down the rest waits ($line, mark $stopped_mark)" \
  [ "$line" = "В базу не передано: $((BACK - stopped_mark))" ]
e2e_shot server-down
db_resume_postgres || e2e_abort "the cluster did not start again"
e2e_check "after the stop the mark claims only rows the table holds" mark_held
e2e_check "the back catalogue complete, each version once" complete 60
e2e_check "the mark counts the whole back catalogue" [ "$(mark)" = "$BACK" ]
db_psql "DROP TRIGGER slow ON orla_series" || e2e_fail "the slowing trigger stayed"
e2e_wait_connected 30 || e2e_abort "no connection after the kill"

# Long texts back byte for byte (the program dates the two date fields at the end).
e2e_run_series 90 || e2e_abort "the series did not end"
e2e_check "the series is in the table, once" complete 10
e2e_check "its texts come back byte for byte" texts_match 1

# An amendment giving all 13 texts the most the form takes: a row of its own,
# archived once the protocol's file is chosen in the save dialog.
install_protocol_template "$E2E_DATA" || e2e_abort "template not installed"
mend=()
for i in $(seq 0 12); do mend+=(set-text $((140 + i)) "$(long_text $((5 * i + 2)))"); done
ui_must find "$E2E_CAPTION" 10 "${mend[@]}" menu 201 >/dev/null
SAVE_AS="$(e2e_system_text "Сохранить как" "Save As")"
ui_must find "$SAVE_AS" 30 set-text 1148 "$(e2e_winpath "$E2E_RUN")\\amended.rtf" click 1 >/dev/null
archive_answer_amendment "все тексты длиннее" "Петров П.П." || e2e_fail "the amendment's reason"
archive_wait_size $(((BACK + 2) * ARCHIVE_GROUP)) 20 || e2e_fail "the amendment was not archived"
e2e_check "the amendment is in the table, the original kept" complete 10
kept="$(db_psql "SELECT string_agg(amendment || ':' || CASE material WHEN '$(long_text 5)' THEN 'first'
  WHEN '$(long_text 7)' THEN 'mended' END, ' ' ORDER BY amendment)
  FROM orla_series WHERE test_time = (SELECT MAX(test_time) FROM orla_series)")"
e2e_check "version 0 keeps the first material, 1 has the mended one ($kept)" [ "$kept" = "0:first 1:mended" ]
e2e_check "both versions' texts byte for byte" texts_match 2
lengths="$(db_psql "SELECT DISTINCT char_length(t) FROM orla_series, unnest(ARRAY[$TEXTS]) AS t
  WHERE test_time = (SELECT MAX(test_time) FROM orla_series) AND amendment = 1")"
e2e_check "every text of the amendment has 255 characters ($lengths)" [ "$lengths" = 255 ]
e2e_shot amended
e2e_end
