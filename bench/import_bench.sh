#!/usr/bin/env bash
# Times `scenario import` on 40 and 200 km lines (GeoJSON with a point every
# 10 m, and an OSM PBF of the same line), each with a DEM of four tiles, beside
# GDAL reading the same files alone: the median wall time of 5 runs and the
# largest peak memory (GNU time). Not a test: it prints figures.
#   bench/import_bench.sh [BUILD_DIR]     (default build/ci)
set -euo pipefail
build=${1:-build/ci}
scenario=$build/tools/scenario
inputs=$build/bench/geodata_inputs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$inputs" bench "$work" >/dev/null

# "median_wall_seconds median_cpu_seconds peak_kb" of 5 runs of the command
# (CPU: user and system; on a shared machine the wall time waits for a core).
measure() {
  local walls=() cpus=() peak=0 e u s m
  for _ in 1 2 3 4 5; do
    /usr/bin/time -o "$work/time.txt" -f "%e %U %S %M" "$@" >/dev/null 2>&1
    read -r e u s m <"$work/time.txt"
    walls+=("$e")
    cpus+=("$(awk -v u="$u" -v s="$s" 'BEGIN { printf "%.2f", u + s }')")
    ((m > peak)) && peak=$m
  done
  printf '%s %s %s\n' "$(printf '%s\n' "${walls[@]}" | sort -n | sed -n 3p)" \
    "$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n 3p)" "$peak"
}

printf '| input | import: wall, CPU, peak memory | GDAL reading it alone: wall, CPU, peak memory |\n|---|---|---|\n'
for km in 40 200; do
  dems=("$work"/line_${km}km_dem_*.tif)
  dem_args=()
  for d in "${dems[@]}"; do dem_args+=(--dem "$d"); done
  for kind in geojson osm.pbf; do
    file=$work/line_${km}km.$kind
    read -r iw ic im < <(measure "$scenario" import "$file" --name Bench --train 1 --out "$work/out" "${dem_args[@]}")
    read -r rw rc rm < <(measure "$inputs" read "$file" "${dems[@]}")
    printf '| %s km, %s | %s s, %s s, %s MB | %s s, %s s, %s MB |\n' "$km" "$kind" "$iw" "$ic" "$((im / 1024))" \
      "$rw" "$rc" "$((rm / 1024))"
  done
done
