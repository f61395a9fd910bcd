#!/usr/bin/env bash
# Builds and runs every test: the Linux build (warnings as errors), the
# Windows cross build under Wine, the sanitizer build and the fuzz targets,
# then the release packages.
# Installs what the machine lacks with apt-get when run as root; otherwise says
# what to install and stops.
set -euo pipefail
cd "$(dirname "$0")"

jobs=$(nproc 2>/dev/null || echo 2)

# --- what the tests need -----------------------------------------------------
# Everything is asked of apt-get at once, before anything is built; the lists
# are in packages.sh, which ./run.sh reads too.
source ./packages.sh
needed_packages=("${program_packages[@]}" "${tool_packages[@]}" "${test_packages[@]}")
# The language server's Node client test (tests/lsp/node) needs Node and npm.
command -v npm >/dev/null 2>&1 || needed_packages+=(nodejs npm)
install_packages "${needed_packages[@]}" || exit 1

# The protocol libraries of the Node client test, exactly as locked.
echo "== npm ci (tests/lsp/node)"
(cd tests/lsp/node && npm ci --no-audit --no-fund --silent)

# --- Style --------------------------------------------------------------------
# Every C++ file must be as clang-format leaves it (.clang-format).
echo "== Style (clang-format)"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror

# --- Linux build and tests ---------------------------------------------------
echo "== Linux build (warnings as errors)"
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
# The VS Code extension: its npm packages as locked (its tests run in ctest as
# vscode_extension), then its package, build/ci/scenario-sources.vsix. Node
# and npm come with the language server's Node client test's packages above.
echo "== VS Code extension (npm ci, vsce package)"
(cd editors/vscode && npm ci --no-audit --no-fund --silent &&
  npx vsce package --allow-missing-repository --skip-license --out ../../build/ci/scenario-sources.vsix >/dev/null)
echo "== Linux tests"
ctest --preset ci -j "$jobs"
# The README's run command on a machine without the tool's libraries (hidden in
# a private mount namespace): a fresh clone builds and runs the program alone.
echo "== The README's run command without the tool's libraries"
tests/fresh_machine/run_command.sh build/ci/app/calvena_roccalba
echo "== Start-up cost: a whole run against cp of its six files (figures, not a test)"
bench/startup_vs_copy.sh build/ci/app/calvena_roccalba

# --- Sanitizers --------------------------------------------------------------
# The whole suite once more, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer; any finding ends the test that met it.
echo "== Sanitizer build (clang, ASan + UBSan)"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
echo "== Tests under ASan + UBSan"
ctest --preset sanitize -j "$jobs"

# --- Fuzzing -----------------------------------------------------------------
# Each libFuzzer target for a bounded time and number of runs; fails on any
# crash, leak, out-of-bounds access or undefined behaviour.
echo "== Fuzz targets (clang, libFuzzer, ASan + UBSan)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target field_reader_fuzz line_description_fuzz whole_compile_fuzz compile_agreement_fuzz whole_compile_long_fuzz lsp_server_fuzz line_fit_fuzz seed_corpus
fuzz/run_fuzzers.sh build/fuzz

# --- Windows -----------------------------------------------------------------
# The Win32 program cross-built with MinGW-w64 and run under Wine on a private
# X server: unit tests, the package next to the executable (byte-identical to
# the Linux build's), the window on a screenshot, a failure's message box.
echo "== Windows cross build (MinGW-w64, warnings as errors)"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
echo "== Windows tests under Wine"
tests/windows/run.sh build/ci/app/calvena_roccalba

# --- Release packages --------------------------------------------------------
# The Linux tar.gz and the Windows zip, as ./package.sh makes them; the Linux
# one untarred and run (the Windows zip is run by the Windows checks above).
echo "== Release packages"
./package.sh
echo "== Linux package"
tests/package/linux_package.sh build/packages/calvena_roccalba-*-linux-*.tar.gz
