#!/usr/bin/env bash
# Builds Velmor (in build/) and starts it. Arguments are handed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake --preset default
flock /tmp/velmor-build.lock ninja -C build -j2
exec build/velmor "$@"
