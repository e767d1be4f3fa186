#!/usr/bin/env bash
# Runs CTest in every build folder and closes with one summary line over all of them.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
passed=0 failed=0
for t in native win32 win64; do
  dir="$top/build/$t"
  [ -f "$dir/CTestTestfile.cmake" ] || continue
  echo "== ctest $t"
  # Windows suites share one display and move focus: run them one at a time.
  jobs=1; [ $t = native ] && jobs=$(nproc)
  log=$(mktemp)
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" 2>&1 | tee "$log"
  total=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2/p' "$log" | tail -1)
  bad=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
  if [ -z "$total" ]; then
    grep -q 'No tests were found' "$log" || { failed=$((failed + 1)); echo "ctest $t did not finish"; }
  else
    passed=$((passed + total - bad)); failed=$((failed + bad))
  fi
  rm -f "$log"
done
wineserver -k 2>/dev/null || true
echo
echo "$passed passed, $failed failed"
[ "$failed" = 0 ] && [ "$passed" -gt 0 ]
