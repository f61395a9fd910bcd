#!/usr/bin/env bash
# The window of the Windows program, looked at: window_preview.exe shows it
# under Wine; a screenshot must show a client area of 280 x 179 pixels with the
# program's title, dark text inside the label's rectangle (64, 64, 177 x 53) on
# a light background, and nothing drawn anywhere else.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

nome="Windows window"
anteprima="$SCENARIO_WIN_BUILD/app/window_preview.exe"
immagine="$SCENARIO_WIN_BUILD/window_preview.png"
secondi_aperta=10
if [[ ! -f "$anteprima" ]]; then esito_fail "$nome: $anteprima is not built"; exit 1; fi
rm -f "$immagine"

timeout "$limite_programma" "$WINE" "$anteprima" "$secondi_aperta" >"$SCENARIO_WIN_OUT/window_preview.log" 2>&1 &
pid=$!

finestra=$(timeout "$limite_finestra" xdotool search --sync --name "^${titolo_programma}\$" 2>/dev/null | head -n1)
if [[ -z "$finestra" ]]; then
  kill "$pid" 2>/dev/null
  esito_fail "$nome: no window titled \"$titolo_programma\" within ${limite_finestra}s"
  exit 1
fi

# With no window manager the X window is the client area itself.
read -r x y larghezza altezza <<<"$(geometria "$finestra")"
errori=()
[[ "$larghezza x $altezza" == "280 x 179" ]] || errori+=("client area is $larghezza x $altezza, not 280 x 179")

# The window paints itself once, right after it is shown: take screenshots until
# the label's text is there (bounded by the time the preview stays open).
scuri_etichetta=0
for _ in $(seq 1 $((secondi_aperta * 2))); do
  schermata "$immagine"
  scuri_etichetta=$(pixel_scuri "$immagine" 177 53 $((x + 64)) $((y + 64)))
  ((scuri_etichetta > 0)) && break
  sleep 0.5
done
sfondo=$(luminosita "$immagine" $((x + 2)) $((y + 2)))
scuri_finestra=$(pixel_scuri "$immagine" "$larghezza" "$altezza" "$x" "$y")

# "Attendere" in 24-point bold covers far more than a few hundred pixels.
((scuri_etichetta >= 300)) || errori+=("only $scuri_etichetta dark pixels inside the label")
((sfondo >= 60)) || errori+=("the background is dark (brightness $sfondo%)")
((scuri_finestra == scuri_etichetta)) ||
  errori+=("$((scuri_finestra - scuri_etichetta)) dark pixels outside the label's rectangle")

# The preview closes its window and ends by itself.
attendi_fine "$pid" "$limite_programma"
stato=$?
((stato == 0)) || errori+=("window_preview ended with status $stato")
[[ -z "$(finestre_programma)" ]] || errori+=("the window is still there after the preview ended")

if ((${#errori[@]})); then
  printf '  %s\n' "${errori[@]}"
  esito_fail "$nome (screenshot: $immagine)"
  exit 1
fi
esito_pass "$nome: 280 x 179, $scuri_etichetta text pixels inside the label, none outside (screenshot: $immagine)"
