#!/usr/bin/env bash
# po/it.po translates every entry of the template: msgfmt --check passes (the
# placeholders agree) and its statistics name no untranslated or fuzzy entry
# (msgfmt exits 0 with those, so its statistics line is read).
set -uo pipefail
cd "$(dirname "$0")/../.."
statistics=$(LC_ALL=C msgfmt --check --statistics -o /dev/null po/it.po 2>&1)
status=$?
echo "$statistics"
if ((status != 0)); then
  echo "FAIL: msgfmt --check refuses po/it.po"
  exit 1
fi
if grep -qE 'untranslated|fuzzy' <<<"$statistics"; then
  echo "FAIL: po/it.po has untranslated or fuzzy entries: translate them (po/GLOSSARY.md) and remove the fuzzy marks"
  exit 1
fi
echo "PASS: po/it.po is complete"
