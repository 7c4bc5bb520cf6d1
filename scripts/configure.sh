#!/usr/bin/env bash
# Configures a build folder for Ninja:   scripts/configure.sh FOLDER [CMAKE-ARGUMENTS...]
# A folder that an earlier make-based configuration left behind is configured afresh, since
# CMake will not change the generator of a folder.
set -euo pipefail
dir=$1
shift
if [ -f "$dir/CMakeCache.txt" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$dir/CMakeCache.txt"; then
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
fi
cmake -G Ninja -S "$(dirname "$0")/.." -B "$dir" "$@" >/dev/null
