#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (headless), then the
# RTF reader's fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$(nproc)")
if [ -f tests/fuzz/run_fuzz.sh ]; then
  bash tests/fuzz/run_fuzz.sh "${VELUMIR_FUZZ_SECONDS:-60}"
fi
