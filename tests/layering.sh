#!/usr/bin/env bash
# Checks that includes point down the floors, never up or sideways:
#   common <- compiler, sources <- app, tools
#   tools: command line -> commands/ -> view/, lsp/ -> package/ -> report/, render/ -> compiler, sources
#   tools/i18n/ (the languages) -> common/ only, usable by every tool folder
# A command never includes another command (exit_status.h is shared by all).
set -uo pipefail
cd "$(dirname "$0")/.."

faults=0
# Prints "file: include" for every include in FILES matching PATTERN.
forbid() {
  local why=$1 pattern=$2
  shift 2
  local hits
  hits=$(grep -HnE "^#include \"($pattern)" "$@" 2>/dev/null)
  if [[ -n $hits ]]; then
    echo "$why:"
    echo "$hits"
    faults=1
  fi
}

shopt -s nullglob globstar
forbid "common/ includes only common/" "compiler|sources|app|tools" common/*.{h,cpp}
forbid "compiler/ uses only common/" "sources|app|tools" compiler/*.{h,cpp}
forbid "sources/ uses only common/" "compiler|app|tools" sources/*.{h,cpp}
forbid "app/ does not use the tool" "tools" app/*.{h,cpp}
forbid "the tool does not use app/" "app/" tools/**/*.{h,cpp}
forbid "report/ and render/ are below the commands and the page" "tools/commands/|tools/view/|tools/command_line" \
  tools/report/*.{h,cpp} tools/render/*.{h,cpp}
forbid "report/ does not draw" "tools/render/" tools/report/*.{h,cpp}
forbid "package/ is below the commands and the page" "tools/commands/|tools/view/|tools/render/|tools/command_line" \
  tools/package/*.{h,cpp}
forbid "report/ and render/ are below package/" "tools/package/" tools/report/*.{h,cpp} tools/render/*.{h,cpp}
forbid "the page's model is below the commands" "tools/commands/|tools/command_line" tools/view/*.{h,cpp}
forbid "the language server is below the commands and beside the page" "tools/commands/|tools/view/|tools/command_line" \
  tools/lsp/*.{h,cpp}
forbid "report/ and render/ do not use the language server" "tools/lsp/" tools/report/*.{h,cpp} tools/render/*.{h,cpp}

# The languages (tools/i18n/) lie below every tool folder: they use only
# themselves and common/.
for f in tools/i18n/*.{h,cpp}; do
  while IFS= read -r inc; do
    if [[ $inc != tools/i18n/* && $inc != common/* ]]; then
      echo "tools/i18n/ uses only itself and common/: $f: $inc"
      faults=1
    fi
  done < <(grep -oE '^#include "[^"]+"' "$f" | cut -d'"' -f2)
done

# A command includes its own header and exit_status.h, no other command.
for f in tools/commands/*.{h,cpp}; do
  own=tools/commands/$(basename "${f%.*}").h
  while IFS= read -r inc; do
    if [[ $inc != "$own" && $inc != tools/commands/exit_status.h ]]; then
      echo "a command includes another command: $f: $inc"
      faults=1
    fi
  done < <(grep -oE '^#include "tools/commands/[^"]+"' "$f" | cut -d'"' -f2)
done

if ((faults)); then
  echo "1 failed: the includes above cross the floors (ARCHITECTURE.md)"
  exit 1
fi
echo "include floors: every include points down"
