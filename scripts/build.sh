#!/usr/bin/env bash
# Configures and builds into build/ (incremental).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZORVANE_BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$build" -j2
