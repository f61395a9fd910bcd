#!/usr/bin/env bash
# The Windows tool takes its words as UTF-8 from the wide command line and
# opens every path from UTF-8: `sources` into, `compile` and `package` from and into, and
# `dump` of files in directories whose names hold blanks, accented letters and
# a letter outside the Windows-1252 code page. The compiled files and the
# package are byte for byte those of the Linux tool.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

nome="Windows tool run"
exe="$SCENARIO_WIN_BUILD/tools/scenario.exe"
# The Linux tool beside the Linux program (the path may be relative to here).
linux_tool="$(cd "$(dirname "$SCENARIO_LINUX_EXE")/../tools" 2>/dev/null && pwd)/scenario"
base="$SCENARIO_WIN_OUT/tool"
cartella="prova è ø Ω"
compilati="compilati è Ω"
errori=()

if [[ ! -f "$exe" ]]; then esito_fail "$nome: $exe is not built"; exit 1; fi
rm -rf "$base"
mkdir -p "$base/windows" "$base/linux"
# Wine turns the words of the Unix command line into the wide command line
# through the locale's encoding: UTF-8.
export LC_ALL=C.UTF-8

# Runs a program in a directory, bounded; its output goes to a log.
esegui() {  # directory registro programma [argomenti...]
  local dove=$1 registro=$2
  shift 2
  (cd "$dove" && exec timeout "$limite_programma" "$@") >"$registro" 2>"$registro.err" &
  attendi_fine $! "$((limite_programma + 10))"
}

w="$base/windows"
esegui "$w" "$w/version.log" "$WINE" "$exe" --version
[[ "$(tr -d '\r' <"$w/version.log")" =~ ^scenario\ [0-9]+\.[0-9]+\.[0-9]+$ ]] ||
  errori+=("--version printed \"$(cat "$w/version.log")\"")

esegui "$w" "$w/sources.log" "$WINE" "$exe" sources "$cartella"
stato=$?
((stato == 0)) || errori+=("sources ended with status $stato: $(cat "$w/sources.log.err")")
for f in "${file_sorgenti[@]}" "${file_documenti[@]}"; do
  [[ -f "$w/$cartella/$f" ]] || errori+=("sources did not write $cartella/$f")
done

# Compiled from inside the directory, into a directory named alike.
esegui "$w/$cartella" "$w/compile.log" "$WINE" "$exe" compile --line Calvena_Roccalba_linea.txt \
  --run Calvena_Roccalba_4127-.txt --name Calvena_Roccalba --train 4127 --out "$compilati" --json
stato=$?
((stato == 0)) || errori+=("compile ended with status $stato: $(cat "$w/compile.log" "$w/compile.log.err")")
grep -qF "$compilati/Calvena_Roccalba_4127.dat" "$w/compile.log" ||
  grep -qF "$compilati\\\\Calvena_Roccalba_4127.dat" "$w/compile.log" ||
  errori+=("compile --json does not name the files written in UTF-8: $(cat "$w/compile.log")")

# The whole package, with the details file beside the run description.
dettagli="$SCENARIO_ROOT/tests/data/package/Calvena_Roccalba_4127_documenti.json"
pacchetto="pacchetto è Ω"
cp "$dettagli" "$w/$cartella/"
esegui "$w/$cartella" "$w/package.log" "$WINE" "$exe" package --line Calvena_Roccalba_linea.txt \
  --run Calvena_Roccalba_4127-.txt --out "$pacchetto"
stato=$?
((stato == 0)) || errori+=("package ended with status $stato: $(cat "$w/package.log.err")")
for f in "${file_documenti[@]}"; do
  cmp -s "$w/$cartella/$pacchetto/$f" "$w/$cartella/$f" || errori+=("package wrote another $f than the program's")
done

esegui "$w" "$w/dump.log" "$WINE" "$exe" dump "$cartella/$compilati/Calvena_Roccalba_4127.sim"
stato=$?
((stato == 0)) || errori+=("dump ended with status $stato: $(cat "$w/dump.log.err")")
grep -qF '"testo":"CALVENA"' "$w/dump.log" || errori+=("dump did not decode the run file")
grep -qF "$cartella" "$w/dump.log" || errori+=("dump does not name the file in UTF-8")

# The same with the Linux tool: the compiled bytes must not differ.
if [[ -x "$linux_tool" ]]; then
  l="$base/linux"
  (cd "$l" && "$linux_tool" sources "$cartella" >/dev/null &&
    cd "$cartella" && "$linux_tool" compile --line Calvena_Roccalba_linea.txt --run Calvena_Roccalba_4127-.txt \
      --name Calvena_Roccalba --train 4127 --out "$compilati" >/dev/null) ||
    errori+=("the Linux tool failed")
  for f in "${file_compilati[@]}"; do
    cmp -s "$w/$cartella/$compilati/$f" "$l/$cartella/$compilati/$f" ||
      errori+=("$f differs between the Windows and the Linux tool")
  done
  for f in "${file_sorgenti[@]}" "${file_documenti[@]}"; do
    cmp -s "$w/$cartella/$f" "$l/$cartella/$f" || errori+=("$f differs between the Windows and the Linux tool")
  done
  (cd "$l/$cartella" && cp "$dettagli" . && "$linux_tool" package --line Calvena_Roccalba_linea.txt \
    --run Calvena_Roccalba_4127-.txt --out "$pacchetto" >/dev/null 2>&1) || errori+=("the Linux tool's package failed")
  for f in "${file_compilati[@]}" "${file_documenti[@]}"; do
    cmp -s "$w/$cartella/$pacchetto/$f" "$l/$cartella/$pacchetto/$f" ||
      errori+=("package: $f differs between the Windows and the Linux tool")
  done
fi

if ((${#errori[@]})); then
  printf '  %s\n' "${errori[@]}"
  esito_fail "$nome (logs in $base)"
  exit 1
fi
esito_pass "$nome: sources, compile, package and dump in \"$cartella\"$([[ -x "$linux_tool" ]] && echo ", identical to the Linux tool's files")"
