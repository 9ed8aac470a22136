#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test: the unit and window tests, the fault
# matrix, the end-to-end run under Xvfb, the package and the installed client, the whole suite
# again under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of each fuzz
# target.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
ZORVANE_FUZZ=1 "$root/scripts/setup.sh"
build="${ZORVANE_BUILD_DIR:-$root/build}"
total=0
count() { # the ctest summary in $1: adds its count of tests
  local n
  n=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$1" | tail -1)
  total=$((total + ${n:-0}))
}

echo "== build and test"
ZORVANE_BUILD_DIR="$build" "$root/scripts/build.sh"
(cd "$build" && ctest -j2 --output-on-failure --timeout 300) | tee "$build/ctest.log"
count "$build/ctest.log"
if [ -f "$build/tests/fault-matrix.txt" ]; then echo "Fault matrix:"; cat "$build/tests/fault-matrix.txt"; fi

echo "== end-to-end run under Xvfb"
bash "$root/tests/e2e/e2e.sh" "$build" | tee "$build/e2e.log"
total=$((total + $(sed -n 's/^e2e: \([0-9]*\) passed.*/\1/p' "$build/e2e.log")))

echo "== the package, installed into a scratch root, and the installed client under Xvfb"
bash "$root/tests/install/installed.sh" "$build" | tee "$build/install.log"
total=$((total + $(sed -n 's/^install: \([0-9]*\) passed.*/\1/p' "$build/install.log")))

if [ "${ZORVANE_QUICK:-0}" != 1 ]; then
  echo "== the suite under AddressSanitizer and UndefinedBehaviorSanitizer"
  asan="$root/build-asan"
  if [ ! -f "$asan/build.ninja" ]; then
    cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVANE_SANITIZE=ON
  fi
  cmake --build "$asan" -j2
  (cd "$asan" && ctest -j2 --output-on-failure --timeout 600) | tee "$asan/ctest.log"
  count "$asan/ctest.log"

  echo "== fuzz targets, a short run each"
  bash "$root/scripts/fuzz.sh"
  total=$((total + 4))
fi
echo "total: $total passed, 0 failed"
