#!/usr/bin/env bash
# A Windows program under Wine reaches PostgreSQL and SQLite through ODBC with Cyrillic text intact.
# odbc_probe.exe makes a table, inserts the material as a UTF-16 parameter and
# finds it by the same text in the SQL; the host's own clients must read the
# very same text back, and a refused login must carry the server's words.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/db_lib.sh"
e2e_begin database_bridge

started=$(date +%s%N)
db_start_postgres || e2e_abort "the private PostgreSQL cluster did not start"
e2e_log "cluster started in $(( ($(date +%s%N) - started) / 1000000 )) ms on port $DB_PG_PORT"
oil="Масло трансформаторное"
sqlite_file="$E2E_RUN/bridge.db"
host_postgres() { db_psql "$1"; }
host_sqlite() { db_sqlite "$sqlite_file" "$1"; }

for db in postgres sqlite; do
  case $db in
    postgres) conn="$(db_postgres_connection)" ;;
    sqlite) conn="$(db_sqlite_connection "$sqlite_file")" ;;
  esac
  out="$(db_probe "$conn" "CREATE TABLE sample (id INTEGER PRIMARY KEY, material VARCHAR(100))")" &&
    out="$(db_probe "$conn" "INSERT INTO sample (id, material) VALUES (1, ?)" "$oil")"
  rc=$?
  e2e_check "$db: table made and row inserted through the probe${out:+ ($out)}" [ "$rc" = 0 ]
  out="$(db_probe "$conn" "SELECT id, material FROM sample WHERE material = '$oil'")"
  e2e_check "$db: probe finds the row by its text (got \"$out\")" [ "$out" = "1|$oil" ]
  out="$("host_$db" "SELECT material FROM sample WHERE id = 1")"
  e2e_check "$db: host client reads the same text (got \"$out\")" [ "$out" = "$oil" ]
done

out="$(db_probe "$(db_postgres_connection wrong-password)" "SELECT 1")"; rc=$?
case "$out" in *'password authentication failed for user "orla"'*) said=1 ;; *) said=0 ;; esac
e2e_check "wrong password: exit code 1 and the server's own text (got $rc: $out)" [ "$rc$said" = 11 ]

started=$(date +%s%N)
db_stop_postgres
e2e_log "cluster stopped in $(( ($(date +%s%N) - started) / 1000000 )) ms"
e2e_end
