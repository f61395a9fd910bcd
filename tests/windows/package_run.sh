#!/usr/bin/env bash
# The Windows program writes its whole package next to its executable, in a
# directory whose name holds blanks and accented letters, whatever the current
# directory; a second run replaces every file. The compiled files and the
# documents are byte for byte those of the Linux build run the same way.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

nome="Windows package run"
exe="$SCENARIO_WIN_BUILD/app/calvena_roccalba.exe"
cartella_win="$SCENARIO_WIN_OUT/prova è ø"
cartella_linux="$SCENARIO_WIN_OUT/linux prova è ø"
altrove="$SCENARIO_WIN_OUT/altrove"
errori=()

for f in "$exe" "$SCENARIO_LINUX_EXE"; do
  if [[ ! -x "$f" ]]; then esito_fail "$nome: $f is not built"; exit 1; fi
done
rm -rf "$cartella_win" "$cartella_linux" "$altrove"
mkdir -p "$cartella_win" "$cartella_linux" "$altrove"
cp "$exe" "$cartella_win/"
cp "$SCENARIO_LINUX_EXE" "$cartella_linux/"

# Runs a program from the other directory, bounded; gives its exit status.
esegui() {  # registro programma [argomenti...]
  local registro=$1
  shift
  (cd "$altrove" && exec timeout "$limite_programma" "$@") >"$registro" 2>&1 &
  attendi_fine $! "$((limite_programma + 10))"
}

for giro in 1 2; do
  esegui "$SCENARIO_WIN_OUT/package_run_windows_$giro.log" "$WINE" "$cartella_win/calvena_roccalba.exe"
  stato=$?
  ((stato == 0)) || errori+=("Windows run $giro ended with status $stato")
done
esegui "$SCENARIO_WIN_OUT/package_run_linux.log" "$cartella_linux/calvena_roccalba"
stato=$?
((stato == 0)) || errori+=("Linux run ended with status $stato")

for f in "${file_documenti[@]}" "${file_compilati[@]}"; do
  if [[ ! -f "$cartella_win/$f" ]]; then
    errori+=("$f missing next to the Windows executable")
  elif [[ ! -f "$cartella_linux/$f" ]]; then
    errori+=("$f missing next to the Linux executable")
  elif ! cmp -s "$cartella_win/$f" "$cartella_linux/$f"; then
    errori+=("$f differs between Windows and Linux ($(cmp "$cartella_win/$f" "$cartella_linux/$f" 2>&1 | head -n1))")
  fi
done
for f in "${file_sorgenti[@]}"; do
  [[ ! -e "$cartella_win/$f" ]] || errori+=("text source $f left behind")
done
# Nothing else: no temporary file, nothing in the current directory.
altri=$(cd "$cartella_win" && ls -A | grep -vxF -e calvena_roccalba.exe "${file_documenti[@]/#/-e}" "${file_compilati[@]/#/-e}")
[[ -z "$altri" ]] || errori+=("unexpected files next to the executable: $altri")
[[ -z "$(ls -A "$altrove")" ]] || errori+=("files written in the current directory: $(ls -A "$altrove")")

if ((${#errori[@]})); then
  printf '  %s\n' "${errori[@]}"
  esito_fail "$nome (logs in $SCENARIO_WIN_OUT)"
  exit 1
fi
esito_pass "$nome: 6 files in \"$cartella_win\", identical to the Linux build's"
