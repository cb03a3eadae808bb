#!/usr/bin/env bash
# Benchmark, not a test (scripts/bench-archive runs it): opens an archive of
# N series in the real program under Wine and prints the time from command
# 204 until the last row is selected, and the longest the main window took
# to answer a message meanwhile.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
n="${1:?usage: bench_viewer.sh <series>}"
e2e_begin "bench_viewer_$n"
archive_make_log "$n" "$E2E_DATA" >/dev/null || e2e_abort "could not write log.dat"
archive_write_ini
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
out="$(ui find "$E2E_CAPTION" menu 204 wait-selected "$ARCHIVE_VIEWER" 701 $((n - 1)) 600)" ||
  e2e_abort "the last row was never selected: $out"
rows="$(ui find "$ARCHIVE_VIEWER" list-count "$ARCHIVE_VIEWER" 701)"
read -r listed longest <<<"$out"
LC_ALL=C printf '%6d series under Wine: last row selected after %.1f s (%s rows), main window answered within %d ms at worst\n' \
  "$n" "$(echo "$listed / 1000" | bc -l)" "$rows" "$longest"
rm -f "$E2E_DATA/log.dat"
e2e_end >/dev/null
