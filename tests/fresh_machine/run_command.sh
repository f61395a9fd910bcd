#!/usr/bin/env bash
# The README's run command on a machine that lacks the tool's libraries: in a
# private mount namespace whose include folders for them are hidden behind
# empty ones, a fresh clone runs the command as the README writes it. It must
# build and run the program (its six files byte-identical to the reference
# build's) and say in one line how to get the tool.
# Usage: tests/fresh_machine/run_command.sh build/ci/app/calvena_roccalba
# Needs root (for unshare); otherwise it says so and checks nothing.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
reference=${1:?usage: run_command.sh REFERENCE_PROGRAM}
if [[ $(id -u) -ne 0 ]] || ! command -v unshare >/dev/null 2>&1; then
  echo "SKIP: the run command without the tool's libraries needs root and unshare"
  exit 0
fi

# The command as the README gives it: the first indented line under its heading.
command=$(awk '/^## Build and run \(fresh Debian machine/ { under = 1; next }
               under && /^## / { exit }
               under && /^    / { sub(/^    /, ""); print; exit }' "$root/README.md")
if [[ -z "$command" ]]; then
  echo "FAIL: no run command found under the README's \"Build and run\" heading"
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=(Calvena_Roccalba_4127_note.txt Calvena_Roccalba_4127_rallentamenti.txt
       Calvena_Roccalba_4127_scheda_treno.txt Calvena_Roccalba_linea.dat
       Calvena_Roccalba_4127.sim Calvena_Roccalba_4127.dat)

mkdir "$work/reference"
cp "$reference" "$work/reference/"
(cd / && env -u DISPLAY "$work/reference/$(basename "$reference")") >/dev/null 2>&1

git clone -q "$root" "$work/clone" || { echo "FAIL: git clone"; exit 1; }

# Hidden: every folder that a tool library puts under /usr/include.
hidden=(/usr/include/nlohmann /usr/include/CLI /usr/include/boost /usr/include/gdal)
echo "run command: $command"
start=$(date +%s)
unshare -m bash -c '
  set -e
  mount --make-rprivate /
  empty=$(mktemp -d)
  for folder in "${@:2}"; do
    [[ -d "$folder" ]] && mount --bind "$empty" "$folder"
  done
  [[ ! -e /usr/include/nlohmann/json.hpp ]]
  cd "$0"
  env -u DISPLAY -u CMAKE_CXX_COMPILER_LAUNCHER bash -c "$1"
' "$work/clone" "$command" "${hidden[@]}" >"$work/output.txt" 2>&1
status=$?
echo "took $(($(date +%s) - start)) s, exit status $status"

errors=()
((status == 0)) || errors+=("the run command ended with status $status")
grep -q "tool .scenario. is left out; to build it: sudo apt-get install -y nlohmann-json3-dev libcli11-dev libboost-dev" \
  "$work/output.txt" || errors+=("no line saying which packages bring the tool")
[[ ! -e "$work/clone/build/release/tools/scenario" ]] || errors+=("the tool was built although its libraries were hidden")
for file in "${files[@]}"; do
  made="$work/clone/build/release/app/$file"
  if [[ ! -f "$made" ]]; then
    errors+=("$file was not written")
  elif ! cmp -s "$made" "$work/reference/$file"; then
    errors+=("$file differs from the reference build's")
  fi
done

if ((${#errors[@]})); then
  echo "--- output of the run command"
  tail -n 40 "$work/output.txt"
  printf 'FAIL: %s\n' "${errors[@]}"
  exit 1
fi
grep "left out" "$work/output.txt"
echo "PASS: the README's run command built and ran the program without the tool's libraries"
