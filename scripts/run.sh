#!/usr/bin/env bash
# Quick start: installs what is missing, builds, builds the data folder and starts
# Orbiplate in it.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/setup-deps.sh"
bash "$top/scripts/build.sh"
data="${ORBIPLATE_DATA:-$top/donnees}"
if [ -x "$top/build/orbiplate-data" ]; then
  "$top/build/orbiplate-data" --sources "${ORBIPLATE_SOURCES:-$top/../shared/data-src}" --out "$data"
fi
mkdir -p "$data"
cd "$data"
exec "$top/build/orbiplate" "$@"
