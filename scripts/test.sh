#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "${ZORVANE_BUILD_DIR:-$root/build}"
ctest -j2 --output-on-failure --timeout 300
if [ -f tests/fault-matrix.txt ]; then echo "Fault matrix:"; cat tests/fault-matrix.txt; fi
