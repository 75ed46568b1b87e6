#!/bin/sh
# Instructions per point of the main conversions, counted by valgrind's callgrind: the
# figure that stays put on a shared machine, where times move with the load. Each row runs
# one benchmark of kelvane_bench under callgrind and divides the instructions spent inside
# the named function (everything it calls included) by the points it converted; the batch
# benchmarks convert 4096 points per call, and where PROJ is linked in, its
# proj_trans_generic is counted in the same run on the same points.
#
#   bench/callgrind.sh [path/to/kelvane_bench]     (default: build/bench/bench/kelvane_bench)
#
# Needs valgrind (Debian: valgrind). A run takes a minute or two.
set -eu

bench=${1:-build/bench/bench/kelvane_bench}
if ! command -v valgrind >/dev/null 2>&1; then
    echo "callgrind.sh: valgrind is not installed" >&2
    exit 2
fi
if [ ! -x "$bench" ]; then
    echo "callgrind.sh: no benchmark program at $bench (cmake --preset bench && cmake --build --preset bench)" >&2
    exit 2
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Instructions per point in function $2 (plain C name) from callgrind file $1, $3 points a call.
per_point() {
    awk -v fn="$2" -v per="$3" '
        /^cfn=/ { callee = substr($0, 5); next }
        /^calls=/ { if (callee == fn) { split(substr($0, 7), c, " "); calls += c[1]; take = 1 } next }
        take { split($0, f, " "); cost += f[2]; take = 0; next }
        END { if (calls > 0) printf "%.0f", cost / (calls * per); else printf "-" }
    ' "$1"
}

printf '%-36s %-28s %12s %12s\n' "benchmark" "function" "instr/point" "PROJ"
while read -r benchmark function points; do
    file="$out/$benchmark.out"
    valgrind --tool=callgrind --callgrind-out-file="$file" --compress-strings=no --compress-pos=no \
        "$bench" --benchmark_filter="^$benchmark\$" --benchmark_min_time=0.01 >/dev/null 2>&1 || true
    ours=$(per_point "$file" "$function" "$points")
    proj=-
    if [ "$points" -gt 1 ]; then proj=$(per_point "$file" proj_trans_generic "$points"); fi
    printf '%-36s %-28s %12s %12s\n' "$benchmark" "$function" "$ours" "$proj"
done <<'EOF'
BM_UTMGeod2Grid UTMGeod2Grid 1
BM_UTMGrid2Geod UTMGrid2Geod 1
BM_Batch_UTMGeod2Grid UTMGeod2GridBatch 4096
BM_Batch_UTMGrid2Geod UTMGrid2GeodBatch 4096
BM_Batch_SPC83Geod2Grid_0101 SPC83Geod2GridBatch 4096
BM_Batch_SPC83Geod2Grid_4803 SPC83Geod2GridBatch 4096
BM_Batch_SPC83Grid2Geod_4803 SPC83Grid2GeodBatch 4096
BM_Batch_geod2SPC27_0101 geod2SPC27Batch 4096
BM_Batch_latLong2XY_TransverseMercator latLong2XY_TransverseMercatorBatch 4096
BM_Batch_lambert_calc_inverse lambert_calcBatch 4096
BM_Batch_latLong2XY_Lambert latLong2XY_LambertBatch 4096
BM_Batch_latLong2XY_OMProjCenter latLong2XY_OMProjCenterBatch 4096
BM_Batch_XYZ_EC2latLongElev XYZ_EC2latLongElevBatch 4096
EOF
