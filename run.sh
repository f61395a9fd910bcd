#!/usr/bin/env bash
# Builds the program (release preset) and runs it: its six files appear next to
# build/release/app/calvena_roccalba. Run as root, it first installs what the
# build lacks with apt-get. The program needs only what a stock machine with
# the C++ toolchain has; the author's tool `scenario` is built too when its
# libraries are installed, and left out, with one line that says how to get
# it, when they are not.
set -euo pipefail
cd "$(dirname "$0")"
source ./packages.sh

if ! install_packages "${program_packages[@]}"; then
  echo "The program cannot be built without them." >&2
  exit 1
fi
install_packages "${tool_packages[@]}" || true  # the build then leaves the tool out and says so

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)"
exec build/release/app/calvena_roccalba
