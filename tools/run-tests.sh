#!/usr/bin/env bash
# Builds and runs the whole test suite three times: a normal build, an AddressSanitizer +
# UndefinedBehaviorSanitizer build, and the threading tests under ThreadSanitizer.
# X11 tests get a private Xvfb through xvfb-run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh

jobs=${JOBS:-$(nproc)}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tools/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-suppressions=$root/tools/tsan.supp:halt_on_error=1:second_deadlock_stack=1}

configure() {  # dir, extra cmake args...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

run_ctest() {  # dir, extra ctest args...
  local dir=$1; shift
  xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" \
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@"
}

stage=${1:-all}
if [[ $stage == all || $stage == normal ]]; then
  echo "== normal build"
  configure build
  run_ctest build
fi
if [[ $stage == all || $stage == asan ]]; then
  echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
  configure build-asan -DSHOULU_SANITIZE=address -DSHOULU_BENCH=OFF
  run_ctest build-asan -LE nosan
fi
if [[ $stage == all || $stage == tsan ]]; then
  echo "== ThreadSanitizer build (threading tests)"
  configure build-tsan -DSHOULU_SANITIZE=thread -DSHOULU_BENCH=OFF
  run_ctest build-tsan -L threading
fi
if [[ $stage == all || $stage == fuzz ]] && [ -f tests/fuzz/CMakeLists.txt ]; then
  echo "== fuzzers (bounded time each)"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSHOULU_FUZZ=ON -DSHOULU_BENCH=OFF >/dev/null
  cmake --build build-fuzz -j "$jobs" --target fuzzers
  ctest --test-dir build-fuzz --output-on-failure -j "$jobs" -L fuzz
fi
