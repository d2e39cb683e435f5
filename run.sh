#!/usr/bin/env bash
# Installs what is missing, builds Ombrelle and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
# The program alone: the tests and benchmarks need packages that ./test.sh installs.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRELLE_TESTS=OFF -DOMBRELLE_BENCH=OFF >/dev/null
cmake --build build -j "$(nproc)" --target ombrelle
exec ./build/ombrelle "$@"
