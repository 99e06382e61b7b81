#!/usr/bin/env bash
# Installs what is missing, builds, makes a sample drive C when the drive
# folder is missing or empty (a drive there, a link to one and a folder that
# cannot be written are left as they are), and starts Velumir.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
# Without a folder the maker writes where Velumir looks: $VELUMIR_DRIVE_C, else
# velumir/drive_c in the XDG data folder.
./build/tools/velumir-make-sample-drive \
  || echo "No sample drive made; Velumir starts without texts." >&2
exec ./build/src/velumir
