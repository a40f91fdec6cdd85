#!/bin/sh
# Configures and builds Tamberlo into build/ (or the folder given) with Ninja.
set -eu
build_dir="${1:-build}"
cmake -S "$(dirname "$0")/.." -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" --parallel
