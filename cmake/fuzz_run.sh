#!/usr/bin/env bash
# Runs one fuzz target over a fresh copy of its checked-in seed corpus.
#   fuzz_run.sh TARGET WORK_DIR CORPUS_DIR RUNS SEED
# The work directory is emptied first and takes every input the run finds, so the checked-in
# corpus is never written and two runs of the same commit try exactly the same inputs.
set -euo pipefail
target=$1 work=$2 corpus=$3 runs=$4 seed=$5
rm -rf "$work"
mkdir -p "$work"
if [ -d "$corpus" ]; then cp -R "$corpus"/. "$work"/; fi
exec "$target" -runs="$runs" -seed="$seed" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/" -print_final_stats=1 "$work"
