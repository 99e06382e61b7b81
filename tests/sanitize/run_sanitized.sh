#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitize and runs every test there (headless). Each program, the
# helpers the tests start included, writes what a sanitizer finds to
# build-sanitize/sanitizer-reports; a finding there fails the run, even where
# the program that met it was a helper whose end the test expected. The
# build is clang's: its one runtime writes both sanitizers' reports to that
# log, where g++'s writes UndefinedBehaviorSanitizer's to the terminal alone,
# which a helper's is not.
#   tests/sanitize/run_sanitized.sh
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build="$root/build-sanitize"
reports="$build/sanitizer-reports"
clang=${CLANGXX:-$(command -v clang++-14 || command -v clang++)}

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="$clang" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELUMIR_SANITIZE=ON -DVELUMIR_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

rm -rf "$reports"
mkdir -p "$reports"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"

status=0
(cd "$build" && ctest --output-on-failure -j"$(nproc)") || status=$?

# Reports name the process; warnings (an allocation refused at a helper's
# own bound) are no findings.
findings=$(grep -l -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$reports"/* 2>/dev/null || true)
if [[ -n $findings ]]; then
  for report in $findings; do
    echo "=== $report"
    head -80 "$report"
  done
  echo "The sanitizers found faults (reports above)." >&2
  exit 1
fi
exit $status
