#!/usr/bin/env bash
# Builds The Care Log and starts it with its data files in ./data.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [ ! -x build/bin/carelog ]; then
  echo "The Care Log cannot start yet: its main frame is not built. The runtime libraries and tools built." >&2
  exit 1
fi
mkdir -p data
cd data
exec ../build/bin/carelog "$@"
