#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/configure.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLANE_TESTS=OFF -DQUILLANE_BENCH=OFF
cmake --build build -j"$(nproc)"
exec build/bin/quillane "$@"
