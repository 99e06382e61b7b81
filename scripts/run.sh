#!/usr/bin/env bash
# Installs what is missing, builds, makes a sample drive C when the drive
# folder is missing or empty (a drive there, a link to one and a folder that
# cannot be written are left as they are), and starts Velumir.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
drive="${VELUMIR_DRIVE_C:-${XDG_DATA_HOME:-$HOME/.local/share}/velumir/drive_c}"
./build/tools/velumir-make-sample-drive "$drive" \
  || echo "No sample drive made; Velumir starts without texts." >&2
exec ./build/src/velumir
