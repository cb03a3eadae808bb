#!/usr/bin/env bash
# Runs every tests/e2e/test_*.sh (or the ones named) against the programs
# already built in build/win64/bin (or $E2E_BIN) and prints PASS or FAIL per
# test and a closing count. A test that fails runs once more, as Wine and
# its X server now and then lose a window or a key that no program could
# help. A pass on the second run is reported as such, with the first run's
# log kept beside.
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
passed=0
failed=0
second=0
# Arguments name tests to run (test_foundation ...); none runs them all.
tests=("$HERE"/test_*.sh)
(($#)) && tests=("${@/#/$HERE/}") && tests=("${tests[@]/%/.sh}")
for t in "${tests[@]}"; do
  [ -e "$t" ] || continue
  name="$(basename "$t" .sh)"
  log="$HERE/../../build/e2e-run/$name.log"
  mkdir -p "$(dirname "$log")"
  start=$SECONDS
  if timeout 300 bash "$t" >"$log" 2>&1; then
    echo "PASS $name ($((SECONDS - start)) s)"
    passed=$((passed + 1))
    continue
  fi
  echo "FAIL $name ($((SECONDS - start)) s), log $log:"
  sed 's/^/    /' "$log" | tail -25
  mv "$log" "${log%.log}.first.log"
  start=$SECONDS
  if timeout 300 bash "$t" >"$log" 2>&1; then
    echo "PASS $name on its second run ($((SECONDS - start)) s); the first run's log is ${log%.log}.first.log"
    passed=$((passed + 1))
    second=$((second + 1))
  else
    echo "FAIL $name again ($((SECONDS - start)) s), log $log:"
    sed 's/^/    /' "$log" | tail -25
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed, $second of the passes on a second run"
((failed == 0))
