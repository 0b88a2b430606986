#!/usr/bin/env bash
# Configures and builds one build type into build/<type> (or build/<name>).
# Usage: scripts/build.sh [Release|Debug] [--dir NAME] [-DOPTION=VALUE ...]
# Prints the build folder on the last line of standard output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
type=${1:-Release}
[ $# -gt 0 ] && shift
name=$(echo "$type" | tr '[:upper:]' '[:lower:]')
if [ "${1:-}" = "--dir" ]; then
  name=$2
  shift 2
fi
dir="$root/build/$name"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >&2
cmake --build "$dir" --parallel "$(nproc)" >&2
echo "$dir"
