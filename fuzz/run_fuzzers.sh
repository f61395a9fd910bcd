#!/usr/bin/env bash
# Runs every fuzz target for a bounded time and a bounded number of runs, one
# process at a time, and fails on the first crash, leak, out-of-bounds access,
# undefined behaviour or broken check. Prints how many inputs each target ran
# and how many it ran per second (the average, and the median of libFuzzer's
# progress lines), with the machine's load average when it finished.
#
#   fuzz/run_fuzzers.sh [build directory]      (default build/fuzz)
#   FUZZ_SECONDS=40 FUZZ_RUNS=2000000 fuzz/run_fuzzers.sh
#   FUZZ_LONG_SECONDS=10     time for whole_compile_long (no plan limit, slow)
#   FUZZ_TARGETS="line_description whole_compile"    only these targets
#   FUZZ_WORK=/tmp/fresh     keep what the fuzzers find there instead of in
#                            <build>/corpus (a run from the checked-in seeds only)
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
long_seconds=${FUZZ_LONG_SECONDS:-10}
runs=${FUZZ_RUNS:-2000000}
targets=${FUZZ_TARGETS:-field_reader line_description whole_compile compile_agreement whole_compile_long lsp_server line_fit}

mkdir -p "$build/artifacts"
status=0
for target in $targets; do
  exe="$build/fuzz/${target}_fuzz"
  work="${FUZZ_WORK:-$build/corpus}/$target"
  mkdir -p "$work"
  "$build/fuzz/seed_corpus" "$target" "$work"
  seeds=("$work")
  # The long-route and agreement targets start from the whole-compile inputs as well.
  sources=("$target")
  [[ $target == whole_compile_long || $target == compile_agreement ]] && sources+=(whole_compile)
  for s in "${sources[@]}"; do
    for d in "fuzz/corpus/$s" "tests/data/fuzz_regressions/$s"; do
      [[ -d $d ]] && seeds+=("$d")
    done
  done
  time_limit=$seconds
  [[ $target == whole_compile_long ]] && time_limit=$long_seconds
  log="$build/artifacts/$target.log"
  echo "== fuzzing $target for at most ${time_limit}s / $runs runs"
  if "$exe" -max_total_time="$time_limit" -runs="$runs" -max_len=65536 -timeout=30 -rss_limit_mb=2048 \
       -dict=fuzz/scenario.dict -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
       "${seeds[@]}" >"$log" 2>&1; then
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    average=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    median=$(grep -o 'exec/s: [0-9]*' "$log" | awk '{print $2}' | sort -n |
               awk '{v[NR]=$1} END {if (NR) print v[int((NR+1)/2)]; else print "?"}')
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
    load=$(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo '?')
    echo "   $target: ${executions:-?} executions, ${average:-?} exec/s on average (median of progress lines $median)," \
         "${coverage:-cov: ?}, load average $load, no failure"
  else
    status=1
    echo "   $target: FAILED; the report follows (full log: $log)" >&2
    grep -E -A25 '^==[0-9]+==ERROR|runtime error|^(field reader|line description|whole compile|compile agreement):|deadly signal' "$log" | head -40 >&2 || tail -40 "$log" >&2
    grep -E 'Test unit written|^artifact_prefix' "$log" >&2 || true
  fi
done
exit "$status"
