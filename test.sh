#!/usr/bin/env bash
# Builds and runs every test: the normal configuration, then AddressSanitizer + UBSan,
# then a short run of every fuzz target (libFuzzer, clang).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

jobs=$(nproc)
run_config() { # dir, extra cmake args...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}

echo "== normal configuration =="
run_config build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
run_config build/asan -DCMAKE_BUILD_TYPE=Debug -DCARELOG_SANITIZE=ON
echo "== fuzz targets (short runs) =="
run_config build/fuzz -DCMAKE_BUILD_TYPE=Debug -DCARELOG_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
