#!/usr/bin/env bash
# Builds the project and runs every test twice: a normal build, then a build
# under AddressSanitizer and UBSan. Prints CTest's summary of each run.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/install-deps.sh --tests || exit 1
jobs=$(nproc 2>/dev/null || echo 2)
status=0
run() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVAN_TESTS=ON -DKORVAN_BENCH=ON "$@" >/dev/null ||
    return 1
  cmake --build "$dir" -j"$jobs" || return 1
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 600)
}
echo "== tests =="
run build-test || status=1
echo "== tests under AddressSanitizer and UBSan =="
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions=$top/tools/lsan-suppressions.txt UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run build-asan -DKORVAN_SANITIZE=ON || status=1
exit $status
