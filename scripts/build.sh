#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j"$(nproc)"
