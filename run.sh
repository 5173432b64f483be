#!/usr/bin/env bash
# Builds The Care Log and starts it with its data files in ./data. Options are passed on to the
# program (for example --headless --script FILE, or --display=sdl); see README.md.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target carelog
mkdir -p data
cd data
exec ../build/bin/carelog "$@"
