#!/usr/bin/env bash
# The Windows tool's `view` under Wine answers requests made from Linux: the
# page, the model of the built-in scenario, and a refusal for a foreign Host.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

name="Windows scenario view"
exe="$SCENARIO_WIN_BUILD/tools/scenario.exe"
dir="$SCENARIO_WIN_OUT/view è ø"
log="$SCENARIO_WIN_OUT/view_answers.log"
problems=()
if [[ ! -f "$exe" ]]; then esito_fail "$name: $exe is not built"; exit 1; fi
rm -rf "$dir"
mkdir -p "$dir"

(cd "$dir" && exec timeout "$limite_programma" "$WINE" "$exe" sources .) >"$SCENARIO_WIN_OUT/view_sources.log" 2>&1
(cd "$dir" && exec timeout "$limite_programma" "$WINE" "$exe" view --line Calvena_Roccalba_linea.txt \
  --run Calvena_Roccalba_4127-.txt) >"$log" 2>&1 &
pid=$!
stop_view() {
  if kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi
}
trap stop_view EXIT

port=""
for _ in $(seq 1 $((limite_finestra * 4))); do
  port=$(grep -o 'serving http://127.0.0.1:[0-9]*/' "$log" 2>/dev/null | grep -o '[0-9]*/$' | tr -d /)
  [[ -n "$port" ]] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.25
done
if [[ -z "$port" ]]; then
  esito_fail "$name: did not start serving (log: $log)"
  exit 1
fi

get() {  # path [host] -> "status body"
  curl -s --max-time 10 -H "Host: ${2:-127.0.0.1:$port}" -o "$SCENARIO_WIN_OUT/view_body" -w '%{http_code}' \
    "http://127.0.0.1:$port$1"
}
[[ $(get /) == 200 ]] && grep -q '<canvas id="plan"' "$SCENARIO_WIN_OUT/view_body" || problems+=("GET / is not the page")
# The first compile may still be running: ask until it is there.
model_ok=""
for _ in $(seq 1 40); do
  if [[ $(get /model) == 200 ]] && grep -q '"ROCCALBA TERME"' "$SCENARIO_WIN_OUT/view_body"; then
    model_ok=yes; break
  fi
  sleep 0.25
done
[[ -n "$model_ok" ]] || problems+=("GET /model has no station ROCCALBA TERME")
[[ $(get /cell?index=74) == 200 ]] && grep -q '"kind":"signal"' "$SCENARIO_WIN_OUT/view_body" ||
  problems+=("cell 74 is not the signal")
[[ $(get / evil.example:$port) == 403 ]] || problems+=("a foreign Host header was not refused")
[[ $(get /nothing) == 404 ]] || problems+=("an unknown path was not 404")
kill -0 "$pid" 2>/dev/null || problems+=("the server ended")

if ((${#problems[@]})); then
  printf '  %s\n' "${problems[@]}"
  esito_fail "$name (log: $log)"
  exit 1
fi
esito_pass "$name: answered on port $port from Linux (page, model, cell, refusals)"
