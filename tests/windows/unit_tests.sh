#!/usr/bin/env bash
# The unit tests of the cross build, each test executable run under Wine.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

cd "$SCENARIO_ROOT"
registro="$SCENARIO_WIN_OUT/unit_tests.log"
# One ctest test per executable; each is bounded, so a hung Wine fails it.
if ctest --preset mingw --timeout "$limite_programma" 2>&1 | tee "$registro"; then
  esito_pass "Windows unit tests under Wine ($(grep -E 'tests passed' "$registro" | tail -n1))"
else
  esito_fail "Windows unit tests under Wine (log: $registro)"
  exit 1
fi
