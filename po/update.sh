#!/usr/bin/env bash
# Keeps the catalogue in step with the code: extracts every marked English text
# of tools/ and compiler/ into po/scenario.pot (xgettext) and merges the
# template into po/it.po (msgmerge: new texts arrive untranslated, changed ones
# fuzzy, for the translator to fill in and review).
# Usage: po/update.sh            rewrite the template and it.po
#        po/update.sh --check    write nothing; exit 1 when either would change
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
check=0
[[ ${1:-} == --check ]] && check=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The marking functions of tools/i18n/messages.h; the argument after the
# language is the English text. Every entry is a brace format, so msgfmt
# --check compares the placeholders of the English and the translation.
find tools compiler -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >"$work/files"
xgettext --language=C++ --from-code=UTF-8 --files-from="$work/files" --output="$work/raw.pot" \
  --keyword= --keyword=translate:2 --keyword=translate_in_context:2c,3 --keyword=translate_count:2,3 \
  --keyword=say:2 --keyword=to_translate:1 --add-location=file --package-name=scenario \
  --msgid-bugs-address= --copyright-holder= 2>"$work/xgettext.err" || { cat "$work/xgettext.err" >&2; exit 1; }
# Its only complaint on a good run is the missing bug address, which we do not have.
grep -v -e 'msgid-bugs-address' -e 'Makevars' -e 'MSGID_BUGS_ADDRESS' -e 'command line option' \
  "$work/xgettext.err" >&2 || true
# xgettext gives C++ strings no brace-format flag of their own: add it to every
# entry but the header, and name the charset.
awk 'BEGIN { RS = ""; ORS = "\n\n" }
     NR == 1 {
       sub(/charset=CHARSET/, "charset=UTF-8")
       sub(/# SOME DESCRIPTIVE TITLE\./, "# The English texts of the scenario authors\x27 tool, for translators.")
       sub(/\n# FIRST AUTHOR[^\n]*/, "")
       print; next
     }
     {
       n = split($0, line, "\n"); out = ""; flagged = 0
       for (i = 1; i <= n; i++) {
         if (line[i] ~ /^#, /) { line[i] = line[i] ", python-brace-format"; flagged = 1 }
         else if (!flagged && line[i] ~ /^(msgctxt|msgid) /) { out = out "#, python-brace-format\n"; flagged = 1 }
         out = out line[i] (i < n ? "\n" : "")
       }
       print out
     }' "$work/raw.pot" | sed '$d' >"$work/scenario.pot"

# Equal but for the creation date: the template has not changed.
same_template() {
  [[ -f po/scenario.pot ]] && diff -q -I '^"POT-Creation-Date:' po/scenario.pot "$work/scenario.pot" >/dev/null
}
if same_template; then
  cp po/scenario.pot "$work/scenario.pot"
fi
cp po/it.po "$work/it.po"
msgmerge --quiet --update --backup=none --add-location=file "$work/it.po" "$work/scenario.pot"
msgattrib --no-obsolete --add-location=file -o "$work/it.po" "$work/it.po"

if ((check)); then
  status=0
  if ! same_template; then
    echo "po/scenario.pot is not up to date with the sources; run po/update.sh:"
    diff -u po/scenario.pot "$work/scenario.pot" || true
    status=1
  fi
  if ! cmp -s po/it.po "$work/it.po"; then
    echo "po/it.po is not merged with the template; run po/update.sh:"
    diff -u po/it.po "$work/it.po" || true
    status=1
  fi
  ((status == 0)) && echo "po: the template and it.po are up to date with the sources"
  exit $status
fi
cp "$work/scenario.pot" po/scenario.pot
cp "$work/it.po" po/it.po
