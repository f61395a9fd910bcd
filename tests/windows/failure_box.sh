#!/usr/bin/env bash
# A run that cannot write a document: Calvena_Roccalba_4127_rallentamenti.txt
# is a directory. The Windows program must stop with a message box that names
# the failure, wait for its OK button, then end with a non-zero status, leaving
# the files written before the failure and nothing after it.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

nome="Windows failure message"
exe="$SCENARIO_WIN_BUILD/app/calvena_roccalba.exe"
cartella="$SCENARIO_WIN_OUT/guasto è ø"
immagine="$SCENARIO_WIN_BUILD/failure_message.png"
registro="$SCENARIO_WIN_OUT/failure_box.log"
bloccato=Calvena_Roccalba_4127_rallentamenti.txt
if [[ ! -f "$exe" ]]; then esito_fail "$nome: $exe is not built"; exit 1; fi
rm -rf "$cartella"
rm -f "$immagine"
mkdir -p "$cartella/$bloccato"
cp "$exe" "$cartella/"

# Wine reports what the program gives a debugger, which holds the box's text.
(cd "$SCENARIO_WIN_OUT" && WINEDEBUG=-all,warn+seh exec timeout "$limite_programma" "$WINE" \
  "$cartella/calvena_roccalba.exe") >"$registro" 2>&1 &
pid=$!

# The box has the program's title too; it is the one that is not the window.
riquadro=""
for _ in $(seq 1 $((limite_finestra * 4))); do
  for w in $(finestre_programma); do
    read -r _ _ larghezza altezza <<<"$(geometria "$w")"
    if [[ -n "$larghezza" && "$larghezza x $altezza" != "280 x 179" ]]; then riquadro=$w; fi
  done
  [[ -n "$riquadro" ]] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.25
done
if [[ -z "$riquadro" ]]; then
  attendi_fine "$pid" 5
  stato=$?
  esito_fail "$nome: no message box appeared (the run ended with status $stato; log: $registro)"
  exit 1
fi

# Let it paint, keep a picture of it, then press its OK button.
sleep 1
schermata "$immagine"
read -r bx by bl ba <<<"$(geometria "$riquadro")"
scuri_riquadro=$(pixel_scuri "$immagine" "$bl" "$ba" "$bx" "$by")
ancora_attivo=1
for tentativo in $(seq 1 20); do
  if ((tentativo <= 10)); then
    xdotool windowfocus "$riquadro" >/dev/null 2>&1
    xdotool key Return >/dev/null 2>&1
  else
    # The keyboard did not reach it: click the button, centred near the bottom.
    xdotool mousemove $((bx + bl / 2)) $((by + ba - 20)) click 1 >/dev/null 2>&1
  fi
  sleep 0.5
  if ! kill -0 "$pid" 2>/dev/null; then ancora_attivo=0; break; fi
done

errori=()
((ancora_attivo == 0)) || errori+=("the run did not end after OK was pressed")
attendi_fine "$pid" 30
stato=$?
((stato != 0 && stato != 124)) || errori+=("the run ended with status $stato, not a failure status")
((scuri_riquadro > 0)) || errori+=("the message box shows no text")
grep -q "$bloccato" "$registro" || errori+=("the message does not name $bloccato")
# In the players' language, with the system's text for the cause after the file.
grep -qE "Scenario non completato: impossibile aprire il file .*$bloccato.*\": [^ \"]" "$registro" ||
  errori+=("the message is not \"Scenario non completato: impossibile aprire il file ...: CAUSE\"")
[[ -z "$(finestre_programma)" ]] || errori+=("a window of the program is still open")

# The writers before the failing one have written their files; none after it ran.
for f in "${file_sorgenti[@]}" Calvena_Roccalba_4127_note.txt; do
  [[ -s "$cartella/$f" ]] || errori+=("$f, written before the failure, is missing or empty")
done
for f in Calvena_Roccalba_4127_scheda_treno.txt "${file_compilati[@]}"; do
  [[ ! -e "$cartella/$f" ]] || errori+=("$f was written after the failure")
done
[[ -d "$cartella/$bloccato" ]] || errori+=("the directory $bloccato was touched")

if ((${#errori[@]})); then
  printf '  %s\n' "${errori[@]}"
  esito_fail "$nome (screenshot: $immagine, log: $registro)"
  exit 1
fi
messaggio=$(grep -m1 -o 'OutputDebugString[AW] ".*"' "$registro" | head -n1)
esito_pass "$nome: box shown and answered, status $stato; $messaggio (screenshot: $immagine)"
