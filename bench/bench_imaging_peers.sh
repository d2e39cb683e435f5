#!/usr/bin/env bash
# Times the resampling peers on the same job as bench_imaging's BM_Stretch, each on one thread:
# ImageMagick's convert (-limit thread 1, input in its own cache format so nothing is decoded)
# and libvips' reduce (VIPS_CONCURRENCY=1, --gap 0, input in its own format). A peer that is not
# installed is skipped. With the path of bench_imaging as argument, our times come beside theirs.
#   usage: bench/bench_imaging_peers.sh [build/bench/bench_imaging]
set -euo pipefail
runs=${RUNS:-5}
ours=${1:-}
convert=/usr/bin/convert   # the real ImageMagick, not a wrapper earlier on the PATH
vips=$(command -v vips || true)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Best wall time of $runs runs, in milliseconds.
best_ms() {
  local best=""
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
    local ms=$(( (t1 - t0) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

declare -A ours_ms
if [ -n "$ours" ]; then
  while read -r name ms label; do
    ours_ms["$name"]=$ms
  done < <("$ours" --benchmark_filter=BM_Stretch --benchmark_format=csv 2>/dev/null |
           awk -F, 'NR>1 && $1 ~ /BM_Stretch/ { gsub(/"/, "", $1); split($1, a, "/"); printf "%s/%sx%s %.1f\n", a[2], a[3], a[4], $3 }')
fi

have_convert=0; [ -x "$convert" ] && "$convert" -version 2>/dev/null | grep -q ImageMagick && have_convert=1
have_vips=0; [ -n "$vips" ] && have_vips=1
if [ $have_convert = 0 ] && [ $have_vips = 0 ]; then echo "no peer installed (imagemagick, libvips-tools)"; exit 0; fi
[ $have_convert = 1 ] || { echo "ImageMagick's convert is needed to make the test picture"; exit 0; }

# A photograph-like 4000 x 3000 picture.
"$convert" -size 4000x3000 gradient:navy-orange -attenuate 0.3 +noise Gaussian -depth 8 "$tmp/in.mpc"
[ $have_vips = 1 ] && { "$convert" "$tmp/in.mpc" "$tmp/in.ppm"; "$vips" copy "$tmp/in.ppm" "$tmp/in.v"; }

# What a peer spends without resampling: start-up (and for ImageMagick reading its cache).
base_magick=0; base_vips=0
if [ $have_convert = 1 ]; then
  base_magick=$(best_ms "$convert" -limit thread 1 "$tmp/in.mpc" null:)
fi
if [ $have_vips = 1 ]; then
  "$vips" black "$tmp/tiny.v" 1 1
  base_vips=$(VIPS_CONCURRENCY=1 best_ms "$vips" copy "$tmp/tiny.v" "$tmp/out.v" --vips-concurrency=1)
fi
echo "peer times are whole runs; the ratios take off start-up: magick $base_magick ms, vips $base_vips ms"
printf "%-10s %-10s %10s %10s %10s %12s %12s\n" filter size ours_ms magick_ms vips_ms magick/ours vips/ours
for size in 2000x1500 1200x900; do
  shrink=$(awk -v s="$size" 'BEGIN { split(s, a, "x"); printf "%.6f", 4000 / a[1] }')
  for pair in "1 Triangle Triangle linear" "6 Mitchell Mitchell mitchell" "5 Lanczos3 Lanczos lanczos3"; do
    set -- $pair
    index=$1 name=$2 magick_filter=$3 vips_kernel=$4
    m=-; v=-
    [ $have_convert = 1 ] && m=$(best_ms "$convert" -limit thread 1 "$tmp/in.mpc" -filter "$magick_filter" -resize "$size!" null:)
    [ $have_vips = 1 ] && v=$(VIPS_CONCURRENCY=1 best_ms "$vips" reduce "$tmp/in.v" "$tmp/out.v" "$shrink" "$shrink" --kernel "$vips_kernel" --gap 0 --vips-concurrency=1)
    o=${ours_ms["$index/$size"]:--}
    rm=-; rv=-
    if [ "$o" != - ]; then
      [ "$m" != - ] && rm=$(awk -v a="$m" -v z="$base_magick" -v b="$o" 'BEGIN { printf "%.2f", (a - z) / b }')
      [ "$v" != - ] && rv=$(awk -v a="$v" -v z="$base_vips" -v b="$o" 'BEGIN { printf "%.2f", (a - z) / b }')
    fi
    printf "%-10s %-10s %10s %10s %10s %12s %12s\n" "$name" "$size" "$o" "$m" "$v" "$rm" "$rv"
  done
done
