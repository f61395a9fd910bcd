#!/usr/bin/env bash
# Runs every fuzz target for a bounded time and a bounded number of runs, one
# process at a time, and fails on the first crash, leak, out-of-bounds access,
# undefined behaviour or broken check. Prints how many inputs each target ran.
#
#   fuzz/run_fuzzers.sh [build directory]      (default build/fuzz)
#   FUZZ_SECONDS=40 FUZZ_RUNS=2000000 fuzz/run_fuzzers.sh
#
# Seeds: the program's own two sources (written by seed_corpus into the build
# directory, which also keeps what the fuzzer finds), the mutations checked in
# under fuzz/corpus/<target>/, and the saved crash inputs under
# tests/data/fuzz_regressions/<target>/. A crash input is left in
# <build>/artifacts/; copy it to tests/data/fuzz_regressions/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/fuzz}
seconds=${FUZZ_SECONDS:-40}
runs=${FUZZ_RUNS:-2000000}

mkdir -p "$build/artifacts"
status=0
for target in field_reader line_description whole_compile; do
  exe="$build/fuzz/${target}_fuzz"
  work="$build/corpus/$target"
  mkdir -p "$work"
  "$build/fuzz/seed_corpus" "$target" "$work"
  seeds=("$work")
  for d in "fuzz/corpus/$target" "tests/data/fuzz_regressions/$target"; do
    [[ -d $d ]] && seeds+=("$d")
  done
  log="$build/artifacts/$target.log"
  echo "== fuzzing $target for at most ${seconds}s / $runs runs"
  if "$exe" -max_total_time="$seconds" -runs="$runs" -max_len=65536 -timeout=30 -rss_limit_mb=2048 \
       -dict=fuzz/scenario.dict -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
       "${seeds[@]}" >"$log" 2>&1; then
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
    echo "   $target: ${executions:-?} executions, ${coverage:-cov: ?}, no failure"
  else
    status=1
    echo "   $target: FAILED; the report follows (full log: $log)" >&2
    grep -E -A25 '^==[0-9]+==ERROR|runtime error|^(field reader|line description|whole compile):|deadly signal' "$log" | head -40 >&2 || tail -40 "$log" >&2
    grep -E 'Test unit written|^artifact_prefix' "$log" >&2 || true
  fi
done
exit "$status"
