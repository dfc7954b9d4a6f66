#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its figures (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
run() { if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$@"; fi; }
for bench in build/bin/bench_*; do
  echo "== $(basename "$bench")"
  run "$bench"
done
