#!/usr/bin/env bash
# Runs the whole test suite (no display needed).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/setup-deps.sh"
bash "$top/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "$top/build"
ctest --output-on-failure -j2 --timeout 600
