#!/usr/bin/env bash
# Checks that includes point down the floors drawn in ARCHITECTURE.md, never up or sideways:
#   common <- compiler, sources <- app, tools
#   tools, top down: the command line -> commands/ -> view/ and lsp/ (beside each other)
#     -> documents/ -> render/ -> core/ -> words/ -> compiler, sources
#   lsp/ uses only core/ and words/ of the tool; view/ uses documents/, render/, core/, words/.
#   Import: geodata/ (GDAL; used by the import and export commands alone) -> fit/ -> core/, words/
#   tools/i18n/ (the languages) -> common/ only, usable by every tool folder
# A command never includes another command (exit_status.h and command.h are shared by all).
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

# Every folder of the tool, with what lies at or above its floor.
command_line="tools/command_line|tools/main|tools/wide_arguments"
forbid "commands/ are below the command line" "$command_line" tools/commands/*.{h,cpp}
forbid "view/ is below the commands and beside lsp/" "$command_line|tools/commands/|tools/lsp/" tools/view/*.{h,cpp}
forbid "lsp/ is below the commands, beside view/, and uses only core/ and words/" \
  "$command_line|tools/commands/|tools/view/|tools/documents/|tools/render/|tools/fit/|tools/geodata/" tools/lsp/*.{h,cpp}
forbid "documents/ is below the commands, view/ and lsp/, above render/" \
  "$command_line|tools/commands/|tools/view/|tools/lsp/|tools/render/|tools/fit/|tools/geodata/" tools/documents/*.{h,cpp}
forbid "render/ is below documents/" \
  "$command_line|tools/commands/|tools/view/|tools/lsp/|tools/documents/|tools/fit/|tools/geodata/" tools/render/*.{h,cpp}
forbid "core/ is below render/" \
  "$command_line|tools/commands/|tools/view/|tools/lsp/|tools/documents/|tools/render/|tools/fit/|tools/geodata/" \
  tools/core/*.{h,cpp}
forbid "words/ is the lowest floor of the tool" \
  "$command_line|tools/commands/|tools/view/|tools/lsp/|tools/documents/|tools/render/|tools/core/|tools/fit/|tools/geodata/" \
  tools/words/*.{h,cpp}
forbid "fit/ takes points in metres and knows nothing of files, geodata or drawings" \
  "$command_line|tools/commands/|tools/view/|tools/lsp/|tools/documents/|tools/render/|tools/geodata/" tools/fit/*.{h,cpp}

# Reading geodata (GDAL) is a floor of its own: only `import` and `export` use it,
# it uses nothing above it, and no other file of the tool includes GDAL.
geodata_users=(tools/commands/import_command.cpp tools/commands/export_command.cpp tools/geodata_absent/*.cpp)
for f in tools/**/*.{h,cpp}; do
  [[ $f == tools/geodata/* ]] && continue
  [[ " ${geodata_users[*]} " == *" $f "* ]] && continue
  forbid "only import and export use tools/geodata/" "tools/geodata/" "$f"
done
forbid "geodata/ is below the commands and beside the page" \
  "$command_line|tools/commands/|tools/view/|tools/lsp/|tools/documents/" tools/geodata/*.{h,cpp}
gdal_hits=$(grep -lE '^#include <(gdal|ogr|cpl_)' tools/**/*.{h,cpp} 2>/dev/null | grep -v '^tools/geodata/')
if [[ -n $gdal_hits ]]; then
  echo "GDAL is included outside tools/geodata/:"
  echo "$gdal_hits"
  faults=1
fi

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

# A command includes its own header and the shared exit_status.h and command.h, no other command.
for f in tools/commands/*.{h,cpp}; do
  own=tools/commands/$(basename "${f%.*}").h
  while IFS= read -r inc; do
    if [[ $inc != "$own" && $inc != tools/commands/exit_status.h && $inc != tools/commands/command.h ]]; then
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
