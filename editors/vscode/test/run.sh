#!/usr/bin/env bash
# The VS Code extension's tests: its manifest, its grammars (vscode-tmgrammar-test)
# on the program's own sources and on every keyword. Usage: run.sh SCENARIO_TOOL.
# Exits 77 (skipped) when the npm packages are not installed: test.sh runs npm ci.
set -euo pipefail
tool=$(realpath "$1")
cd "$(dirname "$0")/.."
if [[ ! -x node_modules/.bin/vscode-tmgrammar-test ]]; then
  echo "skipped: run 'npm ci' in editors/vscode first"
  exit 77
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$tool" sources "$dir" >/dev/null
"$tool" format --json >"$dir/format.json"
node test/manifest.test.js
node test/sources.test.js "$dir"
node_modules/.bin/vscode-tmgrammar-test 'test/*.txt'
