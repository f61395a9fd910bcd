# Helpers shared by the Windows checks (sourced, not run). They expect the
# environment that run.sh sets up: WINE, WINEPREFIX, WINEDEBUG, DISPLAY,
# SCENARIO_ROOT and SCENARIO_WIN_OUT (where the checks leave their files).

# The title the Windows program gives its window and its message box.
titolo_programma="Calvena - Roccalba Terme, treno 4127"

# The package a complete run leaves next to the executable, and the two text
# sources it writes and deletes on the way.
file_documenti=(Calvena_Roccalba_4127_note.txt Calvena_Roccalba_4127_rallentamenti.txt
                Calvena_Roccalba_4127_scheda_treno.txt)
file_compilati=(Calvena_Roccalba_linea.dat Calvena_Roccalba_4127.sim Calvena_Roccalba_4127.dat)
file_sorgenti=(Calvena_Roccalba_linea.txt Calvena_Roccalba_4127-.txt)

# Bounds on every wait, in seconds: a hung Wine fails the check, never hangs it.
limite_programma=${SCENARIO_WINE_TIMEOUT:-180}
limite_finestra=${SCENARIO_WINDOW_TIMEOUT:-60}

esito_pass() { echo "PASS: $*"; }
esito_fail() { echo "FAIL: $*"; }

# The X windows whose title is the program's (window and message box alike).
finestre_programma() { xdotool search --name "^${titolo_programma}\$" 2>/dev/null || true; }

# "X Y W H" of an X window on the screen.
geometria() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || return 1
  echo "$X $Y $WIDTH $HEIGHT"
}

# The whole screen as a PNG.
schermata() { import -window root "$1"; }

# How many pixels of a rectangle of an image are dark (under half brightness).
pixel_scuri() {  # immagine larghezza altezza x y
  convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -colorspace Gray -threshold 50% \
    -format '%[fx:round(w*h*(1-mean))]' info:
}

# The brightness of one pixel, 0 (black) to 1 (white), as a percentage.
luminosita() {  # immagine x y
  convert "$1" -crop "1x1+${2}+${3}" +repage -colorspace Gray -format '%[fx:round(100*mean)]' info:
}

# Waits (bounded) for a process to end and gives its exit status, or 124 when
# it had to be killed.
attendi_fine() {  # pid secondi
  local pid=$1 limite=$2 passati=0
  while kill -0 "$pid" 2>/dev/null; do
    if ((passati >= limite * 4)); then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
      return 124
    fi
    sleep 0.25
    passati=$((passati + 1))
  done
  local stato=0
  wait "$pid" || stato=$?
  return "$stato"
}
