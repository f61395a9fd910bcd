#!/usr/bin/env bash
# A whole run of the program against `cp` of the six files it leaves, measured
# side by side: the pairs alternate which of the two goes first, no display is
# named, and the figure is the median of the per-pair ratios (program / cp).
# Both sides start one process from this shell and write into a directory
# that already holds the files, as a second run of the program does.
# Usage: bench/startup_vs_copy.sh [program] [pairs]
#        (default build/ci/app/calvena_roccalba, 30 pairs)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/ci/app/calvena_roccalba}
pairs=${2:-30}
if [[ ! -x "$program" ]]; then
  echo "startup_vs_copy: $program is not built" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/run" "$work/copy"
cp "$program" "$work/run/calvena_roccalba"
unset DISPLAY WAYLAND_DISPLAY

outputs=(Calvena_Roccalba_4127_note.txt Calvena_Roccalba_4127_rallentamenti.txt
         Calvena_Roccalba_4127_scheda_treno.txt Calvena_Roccalba_linea.dat
         Calvena_Roccalba_4127.sim Calvena_Roccalba_4127.dat)
# One run first: the package to copy, and a directory in its steady state.
"$work/run/calvena_roccalba"
sources=()
for f in "${outputs[@]}"; do sources+=("$work/run/$f"); done
cp "${sources[@]}" "$work/copy/"

# Microseconds taken by one command.
elapsed() {
  local start=$EPOCHREALTIME
  "$@"
  local end=$EPOCHREALTIME
  echo $(((${end/./} - ${start/./})))
}

ratios=()
program_times=()
copy_times=()
for ((i = 0; i < pairs; i++)); do
  if ((i % 2 == 0)); then
    p=$(elapsed "$work/run/calvena_roccalba")
    c=$(elapsed cp "${sources[@]}" "$work/copy/")
  else
    c=$(elapsed cp "${sources[@]}" "$work/copy/")
    p=$(elapsed "$work/run/calvena_roccalba")
  fi
  program_times+=("$p")
  copy_times+=("$c")
  ratios+=("$(awk -v p="$p" -v c="$c" 'BEGIN { printf "%.4f", p / c }')")
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "program run (median of $pairs): $(median "${program_times[@]}") us"
echo "cp of its six files (median):  $(median "${copy_times[@]}") us"
printf 'median ratio program / cp:    %.2f\n' "$(median "${ratios[@]}")"
