#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug info). Extra arguments
# go to CMake's configure step, e.g. -DQN_SANITIZE=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${QN_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir" -j "$(nproc)"
