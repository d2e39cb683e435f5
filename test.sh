#!/usr/bin/env bash
# Installs what is missing, builds a plain and a sanitized tree, and runs every test in both.
# OMBRELLE_QUICK=1 skips the sanitized tree (for quick local rounds; CI runs both).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh --tests
export QT_QPA_PLATFORM=offscreen
unset QT_QPA_PLATFORMTHEME
jobs=$(nproc)

run_tree() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs" --timeout 300)
}

run_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRELLE_TESTS=ON -DOMBRELLE_BENCH=ON
if [ "${OMBRELLE_QUICK:-0}" != 1 ]; then
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp \
    run_tree build-asan -DCMAKE_BUILD_TYPE=Debug -DOMBRELLE_TESTS=ON -DOMBRELLE_SANITIZE=ON
fi
