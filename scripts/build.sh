#!/usr/bin/env bash
# Configures and builds into build/ (two parallel jobs: the machines have two cores).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-cache
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${QUORVEX_LAUNCHER[@]}" >/dev/null
cmake --build build -j2
