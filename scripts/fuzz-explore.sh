#!/usr/bin/env bash
# Explores fuzz targets with random seeds for a bounded time, one target after another.
#   scripts/fuzz-explore.sh [SECONDS] [TARGET...]   (default 600 seconds, every fuzz_*_fuzz)
# Needs the fuzz configuration built (see README). Each target starts from its checked-in
# corpus and keeps what it finds in build/fuzz-explore/<file>/; an input that crashes it is
# saved there as crash-* (or timeout-*, oom-*). Add every such input to the target's corpus
# directory (<module>/fuzz/<file>/) once the fault is mended: it then runs in every test run.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for bin in build/fuzz/bin/fuzz_*_fuzz; do targets+=("$(basename "$bin")"); done
fi
status=0
for target in "${targets[@]}"; do
  stem=${target#fuzz_}
  source=$(find runtime app tools -name "$stem.cpp" | head -n 1)
  corpus=$(dirname "$source")/fuzz/$stem
  work=build/fuzz-explore/$stem
  mkdir -p "$work" "$corpus"
  echo "== $target: $seconds s =="
  nice build/fuzz/bin/"$target" -max_total_time="$seconds" -seed=0 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$work/" "$work" "$corpus" 2>&1 | tail -n 3
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done
exit $status
