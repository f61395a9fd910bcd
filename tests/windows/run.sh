#!/usr/bin/env bash
# Runs the Windows checks of the cross build under Wine, on a private X server
# and a private Wine prefix made anew for this run:
#   1. the unit tests (ctest --preset mingw);
#   2. the program run from a directory named with blanks and accented letters,
#      its package compared byte for byte with the Linux build's;
#   3. the tool: sources, compile and dump in directories named like that, and
#      its language server publishing the Linux build's diagnostics;
#   4. the window, looked at on a screenshot;
#   5. a failing run: the message box, its OK button, the exit status;
#   6. the release zip, extracted into a folder with accented letters and run there;
#   7. the tool's `view` answering requests made from Linux;
#   8. the tool's language chosen from the user's interface language.
# Usage: tests/windows/run.sh [linux-executable]   (default build/ci/app/calvena_roccalba)
# Prints one PASS or FAIL line per check and exits non-zero when any fails.
set -uo pipefail

qui=$(cd "$(dirname "$0")" && pwd)
export SCENARIO_ROOT=$(cd "$qui/../.." && pwd)
export SCENARIO_WIN_BUILD="$SCENARIO_ROOT/build/mingw"
export SCENARIO_WIN_OUT="$SCENARIO_WIN_BUILD/windows-tests"
export SCENARIO_LINUX_EXE=${1:-$SCENARIO_ROOT/build/ci/app/calvena_roccalba}

# Debian's wine64 package has the 64-bit loader; /usr/bin/wine needs the 32-bit part.
WINE=""
for candidato in "$(command -v wine64 || true)" /usr/lib/wine/wine64 "$(command -v wine || true)"; do
  if [[ -n "$candidato" && -x "$candidato" ]]; then WINE=$candidato; break; fi
done
if [[ -z "$WINE" ]]; then
  echo "FAIL: Windows checks: no Wine loader found (install wine and wine64)"
  exit 1
fi
export WINE
for programma in Xvfb xdotool import convert; do
  if ! command -v "$programma" >/dev/null; then
    echo "FAIL: Windows checks: $programma is missing (install xvfb, xdotool, imagemagick)"
    exit 1
  fi
done

rm -rf "$SCENARIO_WIN_OUT"
mkdir -p "$SCENARIO_WIN_OUT"

export WINEPREFIX="$SCENARIO_WIN_BUILD/wineprefix"
export WINEDEBUG=-all
# No .NET or HTML engine: nothing here needs them, and their install prompts
# would wait for a click that never comes.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

xvfb_pid=""
pulisci() {
  # Only what this script started: the prefix's Wine server and our X server.
  if [[ -d "$WINEPREFIX" ]]; then timeout 30 wineserver -k >/dev/null 2>&1 || true; fi
  if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap pulisci EXIT
trap 'exit 130' INT TERM

# A private X server on a free display: Xvfb picks the number and tells it.
numero_file="$SCENARIO_WIN_OUT/xvfb-display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numero_file" >"$SCENARIO_WIN_OUT/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [[ -s "$numero_file" ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [[ ! -s "$numero_file" ]]; then
  echo "FAIL: Windows checks: Xvfb did not start (see $SCENARIO_WIN_OUT/xvfb.log)"
  exit 1
fi
export DISPLAY=":$(head -n1 "$numero_file")"
unset XAUTHORITY

# A fresh prefix for every run, so nothing of an earlier run can hide a fault.
rm -rf "$WINEPREFIX"
if ! timeout 300 "$WINE" wineboot -i >"$SCENARIO_WIN_OUT/wineboot.log" 2>&1; then
  echo "FAIL: Windows checks: creating the Wine prefix failed or timed out (see $SCENARIO_WIN_OUT/wineboot.log)"
  exit 1
fi
timeout 120 wineserver -w >/dev/null 2>&1 || true
# One Wine server for every program of the run: without it each start of a
# program would start the server and Wine's services again.
wineserver -p
# Starting a program starts Wine's own services, which would hold on to the
# output of whatever started them (ctest waits for that output to close): start
# them now, with no output to hold.
timeout 120 "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

falliti=0
controlli=0
for controllo in unit_tests.sh package_run.sh tool_run.sh lsp_run.sh window_look.sh failure_box.sh package_zip.sh view_answers.sh \
  language_choice.sh; do
  controlli=$((controlli + 1))
  if ! bash "$qui/$controllo"; then
    falliti=$((falliti + 1))
  fi
done

echo "Windows: $((controlli - falliti)) passed, $falliti failed"
((falliti == 0))
