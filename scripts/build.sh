#!/usr/bin/env bash
# Configures and builds everything into build/; the run folder is build/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache may reuse objects of another checkout built at the same relative paths.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)"
