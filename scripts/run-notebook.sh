#!/usr/bin/env bash
# Installs what is missing, builds, and starts the notebook. Its notes live in
# build/bin/Data/ unless --folder DIR is given (any argument is passed on).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
exec build/bin/qnweeknote "$@"
