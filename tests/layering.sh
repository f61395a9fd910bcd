#!/usr/bin/env bash
# Checks that includes point down the floors, never up or sideways:
#   common <- compiler, sources <- app, tools
#   tools: command line -> commands/ -> view/, lsp/ -> package/ -> report/, render/ -> compiler, sources
#   geodata/ (GDAL) is used by the import and export commands alone; it uses fit/, report/ and render/
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
forbid "fit/ takes points in metres and knows nothing of files, geodata or the floors above report/" \
  "tools/commands/|tools/view/|tools/lsp/|tools/package/|tools/render/|tools/geodata/|tools/command_line" \
  tools/fit/*.{h,cpp}
forbid "report/ and render/ are below fit/" "tools/fit/" tools/report/*.{h,cpp} tools/render/*.{h,cpp}

# Reading geodata (GDAL) is a floor of its own: only `import` and `export` use it,
# it uses nothing above it, and no other file of the tool includes GDAL.
geodata_users=(tools/commands/import_command.cpp tools/commands/export_command.cpp tools/geodata_absent/*.cpp)
for f in tools/**/*.{h,cpp}; do
  [[ $f == tools/geodata/* ]] && continue
  [[ " ${geodata_users[*]} " == *" $f "* ]] && continue
  forbid "only import and export use tools/geodata/" "tools/geodata/" "$f"
done
forbid "geodata/ is below the commands and beside the page" \
  "tools/commands/|tools/view/|tools/lsp/|tools/package/|tools/command_line" tools/geodata/*.{h,cpp}
gdal_hits=$(grep -lE '^#include <(gdal|ogr|cpl_)' tools/**/*.{h,cpp} 2>/dev/null | grep -v '^tools/geodata/')
if [[ -n $gdal_hits ]]; then
  echo "GDAL is included outside tools/geodata/:"
  echo "$gdal_hits"
  faults=1
fi

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
