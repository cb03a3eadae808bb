#!/usr/bin/env bash
# Runs every tests/e2e/test_*.sh (or the ones named) against the programs
# already built in build/win64/bin (or $E2E_BIN) and prints PASS or FAIL per
# test and a closing count. A test that fails runs once more, as Wine and
# its X server now and then lose a window or a key that no program could
# help. A pass on the second run is reported as such, with the first run's
# log kept beside.
#
# -j N runs N tests at a time, longest first (tests/e2e/durations.txt), each
# slot in a Wine prefix of its own: slot 1 in $WINEPREFIX, slot k in a copy
# of it made once, "$WINEPREFIX-slot<k>" (delete them with the first to have
# them made anew). Most of a test is Wine starting
# processes and waiting for windows, so two cores carry more than two.
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD="$(cd "$HERE/../.." && pwd)/build"
jobs=1
if [ "${1:-}" = -j ]; then jobs="$2"; shift 2; fi
[[ "$jobs" =~ ^[1-9][0-9]*$ ]] || { echo "run_all.sh: -j takes a count, not \"$jobs\"" >&2; exit 2; }

# Arguments name tests to run (test_foundation ...); none runs them all.
names=()
if (($#)); then names=("$@"); else
  for t in "$HERE"/test_*.sh; do names+=("$(basename "$t" .sh)"); done
fi
# Longest first, so that no long test starts last; a test not in the list
# counts as a minute.
mapfile -t names < <(for n in "${names[@]}"; do
  [ -e "$HERE/$n.sh" ] || continue
  s=$(awk -v n="$n" '$1 == n { print $2 }' "$HERE/durations.txt" 2>/dev/null)
  echo "${s:-60} $n"
done | sort -rn -k1,1 -s | cut -d' ' -f2)

base_prefix="${WINEPREFIX:-$BUILD/wineprefix}"
slot_prefix() { if (($1 == 1)); then echo "$base_prefix"; else echo "$base_prefix-slot$1"; fi; }

# The slots' prefixes: the first made (or kept) as every test makes it, the
# others copied from it while no wineserver holds it open.
if ((jobs > 1)); then
  (source "$HERE/../../scripts/common.sh" && export WINEPREFIX="$base_prefix" && wine_env &&
     wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; true) >/dev/null 2>&1
  for ((k = 2; k <= jobs; k++)); do
    p="$(slot_prefix "$k")"
    [ -f "$p/system.reg" ] && continue
    # Wine's own DLLs (a gigabyte, never written) are hard links; the rest,
    # the registry and the users' folders, real copies.
    rm -rf "$p" && mkdir -p "$p" &&
      tar -C "$base_prefix" --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/syswow64 \
        -cf - . | tar -C "$p" -xf - &&
      for d in system32 syswow64; do
        [ ! -d "$base_prefix/drive_c/windows/$d" ] || cp -al "$base_prefix/drive_c/windows/$d" "$p/drive_c/windows/"
      done
  done
fi

# One test, and its second run when the first fails; the report goes to
# <result file> so that the caller prints whole reports as tests end.
run_one() {  # <name> <prefix> <result file>
  local name="$1" log="$BUILD/e2e-run/$1.log" start=$SECONDS
  mkdir -p "$BUILD/e2e-run"
  export WINEPREFIX="$2"
  {
    if timeout 300 bash "$HERE/$name.sh" >"$log" 2>&1; then
      echo "PASS $name ($((SECONDS - start)) s)"
      exit 0
    fi
    echo "FAIL $name ($((SECONDS - start)) s), log $log:"
    sed 's/^/    /' "$log" | tail -25
    mv "$log" "${log%.log}.first.log"
    start=$SECONDS
    if timeout 300 bash "$HERE/$name.sh" >"$log" 2>&1; then
      echo "PASS $name on its second run ($((SECONDS - start)) s); the first run's log is ${log%.log}.first.log"
      exit 3
    fi
    echo "FAIL $name again ($((SECONDS - start)) s), log $log:"
    sed 's/^/    /' "$log" | tail -25
    exit 1
  } >"$3"
}

passed=0 failed=0 second=0
results="$(mktemp -d)"
trap 'rm -rf "$results"' EXIT
declare -A slot_of=() report_of=()  # pid -> slot, report file
free=()
for ((k = 1; k <= jobs; k++)); do free+=("$k"); done

reap() {  # waits for one test to end and prints its report
  local pid rc
  wait -n -p pid "${!slot_of[@]}"
  rc=$?
  cat "${report_of[$pid]}"
  case $rc in
    0) passed=$((passed + 1)) ;;
    3) passed=$((passed + 1)); second=$((second + 1)) ;;
    *) failed=$((failed + 1)) ;;
  esac
  free+=("${slot_of[$pid]}")
  unset "slot_of[$pid]" "report_of[$pid]"
}

for name in "${names[@]}"; do
  ((${#free[@]})) || reap
  k="${free[0]}"; free=("${free[@]:1}")
  run_one "$name" "$(slot_prefix "$k")" "$results/$name" &
  slot_of[$!]=$k
  report_of[$!]="$results/$name"
done
while ((${#slot_of[@]})); do reap; done
echo "$passed passed, $failed failed, $second of the passes on a second run"
((failed == 0))
