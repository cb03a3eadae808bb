#!/usr/bin/env bash
# Holds the files of two e2e runs against each other (E2E_FILES_OUT of each):
# a run in another system language or with another data folder must leave
# the same bytes as the Russian one. log.dat is compared through its export
# without the date and time of each series, which differ between runs.
# Usage: compare_runs.sh <reference folder> <other folder>
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/common.sh"
set +e
ref="$1" other="$2" failed=0 compared=0
tool="$BUILD/native/bin/orla-archive"
without_times() { "$tool" export "$1" --csv "$2" >/dev/null && cut -d';' -f1-13,16- "$2" > "$2.cut"; }
for dir in "$other"/*/; do
  name="$(basename "$dir")"
  [ -d "$ref/$name" ] || continue
  for f in ORLA-K200V.ini norms.ini; do
    [ -f "$ref/$name/$f" ] || [ -f "$dir/$f" ] || continue
    compared=$((compared + 1))
    cmp -s "$ref/$name/$f" "$dir/$f" || { echo "DIFFERENT $name/$f"; failed=1; }
  done
  if [ -f "$ref/$name/log.dat" ] || [ -f "$dir/log.dat" ]; then
    compared=$((compared + 1))
    without_times "$ref/$name/log.dat" "$BUILD/compare-ref.csv" &&
      without_times "$dir/log.dat" "$BUILD/compare-other.csv" &&
      cmp -s "$BUILD/compare-ref.csv.cut" "$BUILD/compare-other.csv.cut" || { echo "DIFFERENT $name/log.dat"; failed=1; }
  fi
done
echo "$compared files compared between $ref and $other, $( ((failed)) && echo "some differ" || echo "all the same")"
((compared > 0 && failed == 0))
