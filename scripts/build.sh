#!/usr/bin/env bash
# Configures and builds everything into build/; the run folder is build/bin. W3_PRESET picks
# the configure preset (CMakePresets.json): "default", or "ci" for every warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache may reuse objects of another checkout built at the same relative paths.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
cmake --preset "${W3_PRESET:-default}" > /dev/null
cmake --build build -j "$(nproc)"
