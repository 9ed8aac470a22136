#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while (default 10 s; FUZZ_SECONDS=N).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
ZORVANE_FUZZ=1 "$root/scripts/setup.sh"
build="$root/build-fuzz"
if [ ! -f "$build/build.ninja" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DZORVANE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j2
seconds="${FUZZ_SECONDS:-10}"
for t in profile import text scramble; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  cp -n "$root/tests/fuzz/corpus/$t/"* "$corpus/" 2>/dev/null || true
  echo "fuzz_$t: ${seconds}s"
  "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=4096 -print_final_stats=0 "$corpus" \
    > "$build/fuzz_$t.log" 2>&1 || { tail -40 "$build/fuzz_$t.log"; exit 1; }
  grep -E '^#[0-9]+.*DONE' "$build/fuzz_$t.log" | tail -1 || tail -2 "$build/fuzz_$t.log"
done
echo "fuzz: no crash, no sanitizer report"
