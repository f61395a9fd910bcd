#!/usr/bin/env bash
# Builds the release packages into build/packages/:
#   calvena_roccalba-VERSION-linux-x86_64.tar.gz  (package preset: release without GDAL, glibc 2.36 or newer)
#   calvena_roccalba-VERSION-windows-x64.zip      (mingw preset, cross-built)
# Each holds the program, the authors' tool `scenario` and three READMEs
# (LEGGIMI.txt for players, LEGGIMI-autori.txt and README-authors.txt for
# authors), nothing else.
# Usage: ./package.sh            (needs what ./test.sh installs)
set -euo pipefail
cd "$(dirname "$0")"

jobs=$(nproc 2>/dev/null || echo 2)
out=build/packages

for preset in package mingw; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

rm -rf "$out"
mkdir -p "$out"
for preset in package mingw; do
  echo "== $preset package"
  cpack --config "build/$preset/CPackConfig.cmake" -B "$out" >/dev/null
done
rm -rf "$out/_CPack_Packages"
ls -l "$out"
