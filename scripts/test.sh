#!/usr/bin/env bash
# Installs what is missing, builds, runs the RTF reader's fuzz target for a
# bounded time, then runs every test (headless), and every test once more in
# a build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -f tests/fuzz/run_fuzz.sh ]; then
  bash tests/fuzz/run_fuzz.sh "${VELUMIR_FUZZ_SECONDS:-60}" > build/fuzz.log 2>&1 || { tail -50 build/fuzz.log; exit 1; }
  tail -3 build/fuzz.log
fi
(export QT_QPA_PLATFORM=offscreen; cd build && ctest --output-on-failure -j"$(nproc)")
bash tests/sanitize/run_sanitized.sh
