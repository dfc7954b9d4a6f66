#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (under Xvfb, on the virtual device).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build
xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" \
  ctest --output-on-failure --timeout 600 -j 2
