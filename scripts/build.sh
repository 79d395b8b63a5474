#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug info). Extra arguments
# go to CMake's configure step, e.g. -DQN_SANITIZE=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${QN_BUILD_DIR:-build}
launcher=()
# A compiler cache, when the machine has one, makes rebuilds of other
# checkouts cheap; the build does not need it.
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
cmake --build "$build_dir" -j "$(nproc)"
