#!/usr/bin/env bash
# Builds The Care Log and starts it with its data files in ./data. Options are passed on to the
# program (for example --headless --script FILE, or --display=sdl); see README.md.
#   ./run.sh --demo   starts it on ./demo instead: a demonstration folder filled once with
#                     sample patients by carelog-sample and kept between runs.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
folder=data
targets=(carelog)
if [ "${1:-}" = "--demo" ]; then
  shift
  folder=demo
  targets+=(carelog-sample)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target "${targets[@]}"
if [ "$folder" = demo ] && [ ! -e demo/Patients.LDS ]; then
  mkdir -p demo
  build/bin/carelog-sample demo --patients 200
fi
mkdir -p "$folder"
cd "$folder"
exec ../build/bin/carelog "$@"
