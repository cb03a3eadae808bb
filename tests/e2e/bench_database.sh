#!/usr/bin/env bash
# Benchmark, not a test: the back catalogue of N series (50 000 by default)
# sent by the real program under Wine to a private PostgreSQL, the time until
# the main window's database line is empty, the longest gap between two of
# the link's polls meanwhile, and how soon a new series is in the table.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/db_lib.sh"
n="${1:-50000}"
e2e_begin bench_database
db_start_postgres || e2e_abort "the private PostgreSQL cluster did not start"
cmake --build "$BUILD/native" --target bench_archive >/dev/null || e2e_abort "no bench_archive"
mkdir -p "$E2E_DATA"
# One series a day: every one its own test time, so every one its own row.
(cd "$E2E_DATA" && "$BUILD/native/bin/bench_archive" source "$n" T 2000-01-01 1 >/dev/null)
e2e_write_ini "[Programm]" "FirstRun=0" "PriborSerialNumber=B-1" "Database=$(db_postgres_connection)"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
first="$(wc -l < "$E2E_JOURNAL")"
start=$(date +%s%N)
line=
while :; do
  line="$(ui find "$E2E_CAPTION" 10 text 177)"
  [ -z "$line" ] && [ "$(db_psql "SELECT COUNT(*) FROM orla_series" 2>/dev/null)" = "$n" ] && break
  (($(date +%s%N) - start > 600000000000)) && e2e_abort "not sent within 10 minutes: $line"
  sleep 0.5
done
sent_ms=$((($(date +%s%N) - start) / 1000000))
# The mean and the longest gap between two polls while it ran, in ms.
read -r period gap < <(tail -n +"$first" "$E2E_JOURNAL" | awk '$2 == "W" {
  if (p != "") { n++; s += $1 - p; if ($1 - p > m) m = $1 - p } p = $1 } END { printf "%d %d\n", n ? s / n : 0, m }')
e2e_run_series 90 >/dev/null || e2e_abort "the series did not end"
start=$(date +%s%N)
until [ "$(db_psql "SELECT COUNT(*) FROM orla_series" 2>/dev/null)" = $((n + 1)) ]; do
  (($(date +%s%N) - start > 30000000000)) && e2e_abort "the new series never arrived"
  sleep 0.1
done
LC_ALL=C printf '%6d series to PostgreSQL under Wine: sent in %.1f s, a poll every %d ms meanwhile (at most %d ms apart); a new series in the table %d ms after its end was seen\n' \
  "$n" "$(echo "$sent_ms / 1000" | bc -l)" "$period" "$gap" $((($(date +%s%N) - start) / 1000000))
e2e_end >/dev/null
