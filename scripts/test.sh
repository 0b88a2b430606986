#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite. GUI tests use the
# offscreen platform, so no display is needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
type=${TONVEK_BUILD_TYPE:-Release}
dir=$("$root/scripts/build.sh" "$type" | tail -n 1)
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
