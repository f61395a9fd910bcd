#!/usr/bin/env bash
# The Windows release zip as a person gets it: made by cpack from the MinGW
# build, extracted into a folder named with blanks and accented letters, the
# program run there (from another directory) writes its six files next to
# itself and leaves nothing else. The zip holds the two programs and the two
# READMEs only, the READMEs with CR LF line ends.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

nome="Windows release zip"
uscita="$SCENARIO_WIN_OUT/package"
cartella="$SCENARIO_WIN_OUT/simulatore prova è ø"
altrove="$SCENARIO_WIN_OUT/altrove zip"
versione=$(sed -n 's/.*program_version = "\([0-9.]*\)".*/\1/p' "$SCENARIO_ROOT/common/version.h")
zip="$uscita/calvena_roccalba-$versione-windows-x64.zip"
errori=()

rm -rf "$uscita" "$cartella" "$altrove"
mkdir -p "$uscita" "$cartella" "$altrove"
if ! cpack --config "$SCENARIO_WIN_BUILD/CPackConfig.cmake" -B "$uscita" >"$SCENARIO_WIN_OUT/cpack.log" 2>&1; then
  esito_fail "$nome: cpack failed (see $SCENARIO_WIN_OUT/cpack.log)"
  exit 1
fi
if [[ ! -f "$zip" ]]; then
  esito_fail "$nome: $zip was not made ($(ls "$uscita" | tr '\n' ' '))"
  exit 1
fi
unzip -q "$zip" -d "$cartella" || errori+=("the zip does not extract")

contenuto=$(cd "$cartella" && ls -A | sort | tr '\n' ' ')
[[ "$contenuto" == "LEGGIMI-autori.txt LEGGIMI.txt README-authors.txt calvena_roccalba.exe scenario.exe " ]] ||
  errori+=("the zip holds: $contenuto")
for f in LEGGIMI.txt LEGGIMI-autori.txt README-authors.txt; do
  if [[ -f "$cartella/$f" ]] && grep -qv $'\r$' "$cartella/$f"; then errori+=("$f has lines without CR LF"); fi
done

(cd "$altrove" && exec timeout "$limite_programma" "$WINE" "$cartella/calvena_roccalba.exe") \
  >"$SCENARIO_WIN_OUT/package_zip.log" 2>&1 &
attendi_fine $! "$((limite_programma + 10))"
stato=$?
((stato == 0)) || errori+=("the program ended with status $stato")
for f in "${file_documenti[@]}" "${file_compilati[@]}"; do
  [[ -s "$cartella/$f" ]] || errori+=("$f missing next to the program")
done
for f in "${file_sorgenti[@]}"; do
  [[ ! -e "$cartella/$f" ]] || errori+=("text source $f left behind")
done
[[ -z "$(ls -A "$altrove")" ]] || errori+=("files written in the current directory: $(ls -A "$altrove")")

if ((${#errori[@]})); then
  printf '  %s\n' "${errori[@]}"
  esito_fail "$nome (logs in $SCENARIO_WIN_OUT)"
  exit 1
fi
esito_pass "$nome: $(basename "$zip") extracted into \"$cartella\", 6 files written there"
