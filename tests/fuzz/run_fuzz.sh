#!/usr/bin/env bash
# Builds the RTF reader's fuzz target with clang in build-fuzz (only the text
# sources it needs) and runs it for the given number of seconds on the starting
# corpus. Exits non-zero when the fuzzer finds a crash, a hang or a leak.
#   tests/fuzz/run_fuzz.sh <seconds>
set -euo pipefail

seconds=${1:?usage: run_fuzz.sh <seconds>}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build="$root/build-fuzz"
clang=${CLANGXX:-$(command -v clang++-14 || command -v clang++)}

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER="$clang" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target rtf_reader_fuzz -j4

# New inputs go to a work folder in the build; the starting inputs stay as they are.
mkdir -p "$build/corpus" "$build/artifacts"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
"$build/rtf_reader_fuzz" "$build/corpus" "$here/corpus" \
    -dict="$here/rtf.dict" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/artifacts/" -print_final_stats=1
