#!/usr/bin/env bash
# The Windows `scenario.exe lsp` answers an editor's session (binary standard
# streams: every Content-Length right) and publishes exactly the diagnostics
# the Linux tool publishes for the same text.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

nome="Windows language server"
qui="$(cd "$(dirname "$0")" && pwd)"
exe="$SCENARIO_WIN_BUILD/tools/scenario.exe"
linux_tool="$(cd "$(dirname "$SCENARIO_LINUX_EXE")/../tools" 2>/dev/null && pwd)/scenario"
base="$SCENARIO_WIN_OUT/lsp"
errori=()

if [[ ! -f "$exe" ]]; then esito_fail "$nome: $exe is not built"; exit 1; fi
if [[ ! -x "$linux_tool" ]]; then esito_fail "$nome: the Linux tool $linux_tool is not built"; exit 1; fi
rm -rf "$base"
mkdir -p "$base"
"$linux_tool" sources "$base/sources" >/dev/null || errori+=("the Linux tool did not write the sources")
python3 "$qui/lsp_session.py" write "$base/sources" "$base/session" || errori+=("the session was not written")

(exec timeout "$limite_programma" "$WINE" "$exe" lsp <"$base/session" >"$base/windows.out" 2>"$base/windows.err") &
attendi_fine $! "$((limite_programma + 10))"
stato=$?
((stato == 0)) || errori+=("scenario.exe lsp ended with status $stato: $(head -c 400 "$base/windows.err")")
timeout 60 "$linux_tool" lsp <"$base/session" >"$base/linux.out" 2>"$base/linux.err" ||
  errori+=("scenario lsp ended with status $?")

python3 "$qui/lsp_session.py" read "$base/windows.out" >"$base/windows.json" ||
  errori+=("the Windows server's answers are not well framed: $(head -c 300 "$base/windows.out")")
python3 "$qui/lsp_session.py" read "$base/linux.out" >"$base/linux.json" || errori+=("the Linux server's answers")
grep -q '"id": 1' "$base/windows.json" || errori+=("initialize was not answered")
grep -q '"unknown-keyword"' "$base/windows.json" || errori+=("the typo's warning was not published")
grep -q '"not-windows-1252"' "$base/windows.json" || errori+=("the character outside Windows-1252 was not reported")
cmp -s "$base/windows.json" "$base/linux.json" ||
  errori+=("the diagnostics differ: $(diff "$base/windows.json" "$base/linux.json" | head -10)")

if ((${#errori[@]})); then
  printf '  %s\n' "${errori[@]}"
  esito_fail "$nome (logs in $base)"
  exit 1
fi
esito_pass "$nome: initialize answered, the same diagnostics as the Linux tool's"
