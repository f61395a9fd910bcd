#!/usr/bin/env bash
# The Windows tool chooses its language by itself from the user's interface
# language: Wine reports the host's locale as that language (when the host has
# the locale: it_IT.UTF-8 comes with locales-all), so under an Italian locale
# the probe speaks Italian, under an English one English.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

name="Windows language choice"
exe="$SCENARIO_WIN_BUILD/tests/i18n/language_probe.exe"
out="$SCENARIO_WIN_OUT/language"
errors=()

if [[ ! -f "$exe" ]]; then esito_fail "$name: $exe is not built"; exit 1; fi
if ! locale -a | grep -qixE 'it_IT\.utf-?8'; then
  esito_fail "$name: the locale it_IT.UTF-8 is not on this machine (install locales-all)"
  exit 1
fi
mkdir -p "$out"

# locale, then what the probe must print.
cases=(
  "it_IT.UTF-8|language: it|scenario: indicare un comando: check o view"
  "en_US.UTF-8|language: en|scenario: give a command: check or view"
)
for c in "${cases[@]}"; do
  IFS='|' read -r locale language sentence <<<"$c"
  log="$out/$locale.log"
  (env -u LANGUAGE LC_ALL="$locale" LANG="$locale" timeout "$limite_programma" "$WINE" "$exe") \
    >"$log" 2>"$log.err" </dev/null &
  attendi_fine $! "$((limite_programma + 10))"
  status=$?
  got=$(tr -d '\r' <"$log")
  expected=$(printf '%s\n%s' "$language" "$sentence")
  ((status == 0)) || errors+=("under $locale the probe ended with status $status")
  [[ "$got" == "$expected" ]] || errors+=("under $locale the probe printed \"$got\", not \"$expected\"")
done

if ((${#errors[@]})); then
  printf '  %s\n' "${errors[@]}"
  esito_fail "$name (logs in $out)"
  exit 1
fi
esito_pass "$name: Italian under it_IT.UTF-8, English under en_US.UTF-8"
