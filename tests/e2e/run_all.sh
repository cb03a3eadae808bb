#!/usr/bin/env bash
# Runs every tests/e2e/test_*.sh (or the ones named) against the programs
# already built in build/win64/bin (or $E2E_BIN) and prints PASS or FAIL per
# test and a closing count.
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
passed=0
failed=0
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
  else
    echo "FAIL $name ($((SECONDS - start)) s), log $log:"
    sed 's/^/    /' "$log" | tail -25
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
((failed == 0))
