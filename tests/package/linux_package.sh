#!/usr/bin/env bash
# The Linux release package as a person gets it: untarred into a fresh folder
# named with blanks and accented letters, the program run from elsewhere with
# no display writes its six files next to itself, and the tool tells its
# version. Also checks what the binaries ask of the machine: no C++ runtime,
# no X library, and no C library symbol newer than glibc 2.36.
# Usage: tests/package/linux_package.sh build/packages/calvena_roccalba-VERSION-linux-x86_64.tar.gz
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
archive=${1:?usage: linux_package.sh PACKAGE.tar.gz}
version=$(sed -n 's/.*program_version = "\([0-9.]*\)".*/\1/p' "$root/common/version.h")
errors=()

if [[ ! -f "$archive" ]]; then
  echo "FAIL: Linux package: $archive not found (run ./package.sh)"
  exit 1
fi
[[ "$(basename "$archive")" == "calvena_roccalba-$version-linux-"*.tar.gz ]] ||
  errors+=("the package name does not carry the version $version")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder="$work/simulatore prova è ø"
elsewhere="$work/altrove"
mkdir -p "$folder" "$elsewhere"
tar -xzf "$archive" -C "$folder" || errors+=("the archive does not extract")

contents=$(cd "$folder" && ls -A | sort | tr '\n' ' ')
[[ "$contents" == "LEGGIMI-autori.txt LEGGIMI.txt README-authors.txt calvena_roccalba scenario " ]] ||
  errors+=("the package holds: $contents")

# What the binaries need of the machine.
newest_glibc=""
for program in calvena_roccalba scenario; do
  needed=$(readelf -d "$folder/$program" 2>/dev/null | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' | tr '\n' ' ')
  for lib in $needed; do
    case "$lib" in
      libc.so.6 | libm.so.6 | ld-linux-x86-64.so.2) ;;
      *) errors+=("$program needs $lib") ;;
    esac
  done
  v=$(objdump -T "$folder/$program" | grep -o 'GLIBC_[0-9.]*' | sed 's/GLIBC_//' | sort -V | tail -n1)
  newest_glibc=$(printf '%s\n%s\n' "$newest_glibc" "$v" | sort -V | tail -n1)
done
if [[ "$(printf '%s\n2.36\n' "$newest_glibc" | sort -V | tail -n1)" != "2.36" ]]; then
  errors+=("the binaries need glibc $newest_glibc, newer than 2.36")
fi

# The program, from elsewhere, without a display.
(cd "$elsewhere" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$folder/calvena_roccalba") \
  >"$work/run.log" 2>&1
status=$?
((status == 0)) || errors+=("the program ended with status $status: $(cat "$work/run.log")")
for f in Calvena_Roccalba_4127_note.txt Calvena_Roccalba_4127_rallentamenti.txt \
  Calvena_Roccalba_4127_scheda_treno.txt Calvena_Roccalba_linea.dat Calvena_Roccalba_4127.sim \
  Calvena_Roccalba_4127.dat; do
  [[ -s "$folder/$f" ]] || errors+=("$f missing next to the program")
done
[[ -z "$(ls -A "$elsewhere")" ]] || errors+=("files written in the current directory")

answer=$(cd "$elsewhere" && timeout 60 "$folder/scenario" --version 2>&1)
[[ "$answer" == "scenario $version" ]] || errors+=("scenario --version says \"$answer\", not \"scenario $version\"")

if ((${#errors[@]})); then
  printf '  %s\n' "${errors[@]}"
  echo "FAIL: Linux package $(basename "$archive")"
  exit 1
fi
echo "PASS: Linux package $(basename "$archive"): 6 files next to the program, needs glibc $newest_glibc or newer"
