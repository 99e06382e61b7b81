#!/usr/bin/env bash
# Installs what is missing, builds, makes a sample drive C when there is
# none, and starts Velumir.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
drive="${VELUMIR_DRIVE_C:-${XDG_DATA_HOME:-$HOME/.local/share}/velumir/drive_c}"
./build/tools/velumir-make-sample-drive "$drive"
exec ./build/src/velumir
