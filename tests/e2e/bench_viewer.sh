#!/usr/bin/env bash
# Benchmark, not a test (scripts/bench-archive runs it): opens an archive of
# N series in the real program under Wine and prints the time from command
# 204 until the last row is selected, and the longest the main window took
# to answer a message meanwhile; then the time the find takes per keystroke.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
n="${1:?usage: bench_viewer.sh <series>}"
e2e_begin "bench_viewer_$n"
archive_make_log "$n" "$E2E_DATA" judged >/dev/null || e2e_abort "could not write log.dat"
archive_write_ini
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
out="$(ui find "$E2E_CAPTION" menu 204 wait-selected "$ARCHIVE_VIEWER" 701 $((n - 1)) 600)" ||
  e2e_abort "the last row was never selected: $out"
rows="$(ui find "$ARCHIVE_VIEWER" list-count "$ARCHIVE_VIEWER" 701)"
# The program's resident memory with the viewer open, and its peak so far.
# (Of the processes named after it, the program is the one holding the most.)
pid="$(for p in $(pgrep -f 'ORLA-K200V.exe'); do
         echo "$(awk '/^VmRSS/ { print $2 }' "/proc/$p/status" 2>/dev/null || echo 0) $p"
       done | sort -n | tail -1 | cut -d' ' -f2)"
memory="$(awk '/^VmRSS|^VmHWM/ { printf "%s %.0f MiB  ", $1, $2 / 1024 }' "/proc/$pid/status" 2>/dev/null)"
read -r listed longest <<<"$out"
LC_ALL=C printf '%6d series under Wine: last row selected after %.1f s (%s rows), main window answered within %d ms at worst\n' \
  "$n" "$(echo "$listed / 1000" | bc -l)" "$rows" "$longest"
echo "$(printf '%6d' "$n") series under Wine: program memory $memory"
# "т-17" typed letter by letter (its first letter is in every row's material,
# the rest in no row), the field cleared, then a word every row holds, then
# one only a conclusion holds.
times=()
for text in "т" "т-" "т-1" "т-17" "" "масло" "отклонение"; do
  times+=("$(ui find "$ARCHIVE_VIEWER" set-text-timed 705 "$text")")
done
LC_ALL=C printf '%6d series under Wine: find per keystroke %s ms (typing "т-17", clearing, pasting "масло", "отклонение")\n' \
  "$n" "${times[*]}"
rm -f "$E2E_DATA/log.dat"
e2e_end >/dev/null
