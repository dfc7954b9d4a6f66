#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (under Xvfb, on the virtual device):
# the whole suite; then the device, command, controller, macro, w3ctl and end-to-end scene tests
# once more under AddressSanitizer and UndefinedBehaviorSanitizer; then each fuzz target over
# its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
W3_PRESET=ci scripts/build.sh
# -noreset: between two tests the X server would restart and refuse the next one's connection.
(cd build && xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp -noreset" \
  ctest --output-on-failure --timeout 900 -j 2)
scripts/test-sanitizers.sh
scripts/fuzz-corpus.sh
