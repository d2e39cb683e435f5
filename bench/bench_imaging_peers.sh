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

# Median of the numbers on standard input.
median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Wall time of one run, in milliseconds.
wall_ms() {
  local t0 t1
  t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000000 ))
}

# Our time for one filter and size, from one short run of bench_imaging, in milliseconds.
ours_ms() {
  "$ours" --benchmark_filter="^BM_Stretch/$1/$2/$3\$" --benchmark_min_time=0.01 --benchmark_format=csv 2>/dev/null |
    awk -F, 'NR > 1 && $1 ~ /BM_Stretch/ { printf "%.1f\n", $3 }'
}

have_convert=0; [ -x "$convert" ] && "$convert" -version 2>/dev/null | grep -q ImageMagick && have_convert=1
have_vips=0; [ -n "$vips" ] && have_vips=1
if [ $have_convert = 0 ] && [ $have_vips = 0 ]; then echo "no peer installed (imagemagick, libvips-tools)"; exit 0; fi
[ $have_convert = 1 ] || { echo "ImageMagick's convert is needed to make the test picture"; exit 0; }

# A photograph-like 4000 x 3000 picture.
"$convert" -size 4000x3000 gradient:navy-orange -attenuate 0.3 +noise Gaussian -depth 8 "$tmp/in.mpc"
[ $have_vips = 1 ] && { "$convert" "$tmp/in.mpc" "$tmp/in.ppm"; "$vips" copy "$tmp/in.ppm" "$tmp/in.v"; }
[ $have_vips = 1 ] && "$vips" black "$tmp/tiny.v" 1 1

# The machine is shared: ours and each peer run alternately, $runs rounds, and the medians are
# compared. What a peer spends without resampling (start-up, and for ImageMagick reading its
# cache) is timed in the same rounds and taken off.
echo "medians of $runs alternating rounds; peer times are whole runs less their start-up, timed in the same rounds"
printf "%-10s %-10s %10s %10s %10s %12s %12s\n" filter size ours_ms magick_ms vips_ms magick/ours vips/ours
for size in 2000x1500 1200x900; do
  shrink=$(awk -v s="$size" 'BEGIN { split(s, a, "x"); printf "%.6f", 4000 / a[1] }')
  for pair in "1 Triangle Triangle linear" "6 Mitchell Mitchell mitchell" "5 Lanczos3 Lanczos lanczos3"; do
    set -- $pair
    index=$1 name=$2 magick_filter=$3 vips_kernel=$4
    : > "$tmp/o"; : > "$tmp/m"; : > "$tmp/v"
    for _ in $(seq "$runs"); do
      [ -n "$ours" ] && ours_ms "$index" "${size%x*}" "${size#*x}" >> "$tmp/o"
      if [ $have_convert = 1 ]; then
        m=$(wall_ms "$convert" -limit thread 1 "$tmp/in.mpc" -filter "$magick_filter" -resize "$size!" null:)
        z=$(wall_ms "$convert" -limit thread 1 "$tmp/in.mpc" null:)
        echo $(( m - z )) >> "$tmp/m"
      fi
      if [ $have_vips = 1 ]; then
        v=$(VIPS_CONCURRENCY=1 wall_ms "$vips" reduce "$tmp/in.v" "$tmp/out.v" "$shrink" "$shrink" --kernel "$vips_kernel" --gap 0 --vips-concurrency=1)
        z=$(VIPS_CONCURRENCY=1 wall_ms "$vips" copy "$tmp/tiny.v" "$tmp/out.v" --vips-concurrency=1)
        echo $(( v - z )) >> "$tmp/v"
      fi
    done
    o=$(median < "$tmp/o"); m=$(median < "$tmp/m"); v=$(median < "$tmp/v")
    rm=-; rv=-
    if [ "$o" != - ]; then
      [ "$m" != - ] && rm=$(awk -v a="$m" -v b="$o" 'BEGIN { printf "%.2f", a / b }')
      [ "$v" != - ] && rv=$(awk -v a="$v" -v b="$o" 'BEGIN { printf "%.2f", a / b }')
    fi
    printf "%-10s %-10s %10s %10s %10s %12s %12s\n" "$name" "$size" "$o" "$m" "$v" "$rm" "$rv"
  done
done
