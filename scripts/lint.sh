#!/usr/bin/env bash
# The house tools on what a change touched: clang-format and clang-tidy on the changed
# lines of the C++ files under src/ tests/ bench/ fuzz/, against BASE (default: the
# merge base with origin/main when there is one, else HEAD~). Uncommitted changes
# count too. The rest of a file is left as it is: the code base is not reformatted.
#
# Usage: scripts/lint.sh [BASE] [--fix] [--build DIR]
#   --fix        rewrites the changed lines the way clang-format wants them
#   --build DIR  build folder whose compile_commands.json clang-tidy reads
#                (default build/release; configured when it has none)
# Exit status 1 when either tool has something to say.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
base=""
fix=0
build="$root/build/release"
while [ $# -gt 0 ]; do
  case "$1" in
    --fix) fix=1 ;;
    --build) build=$(cd "$2" && pwd); shift ;;
    -h | --help) sed -n '2,13p' "$0"; exit 0 ;;
    *) base=$1 ;;
  esac
  shift
done
if [ -z "$base" ]; then
  if git rev-parse -q --verify origin/main >/dev/null; then
    base=$(git merge-base origin/main HEAD)
  else
    base=HEAD~
  fi
fi

"$root/scripts/deps.sh" --lint
paths=('src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
changes=$(git diff -U0 --no-color "$base" -- "${paths[@]}")
if [ -z "$changes" ]; then
  echo "lint: no C++ changes against $base"
  exit 0
fi
echo "lint: changed lines against $base:"
git diff --stat "$base" -- "${paths[@]}" | sed 's/^/  /'
status=0

if [ "$fix" = 1 ]; then
  echo "$changes" | clang-format-diff-14 -p1 -i
fi
formatting=$(echo "$changes" | clang-format-diff-14 -p1)
if [ -n "$formatting" ]; then
  echo "== clang-format would change these lines (scripts/lint.sh --fix rewrites them):"
  echo "$formatting"
  status=1
else
  echo "== clang-format: nothing to change"
fi

if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
# Files of a changed target that is not configured in this build (fuzz/ needs clang)
# are still checked with the flags of a neighbouring file.
# -Wno-unknown-warning-option: the database holds GCC's flags, which clang reads.
findings=$(echo "$changes" | clang-tidy-diff-14.py -p1 -path "$build" -quiet -j "$(nproc)" \
  -regex '(src|tests|bench|fuzz)/.*\.(cpp|h)' -extra-arg=-Wno-unknown-warning-option 2>&1 |
  grep -v '^[0-9]* warnings\? generated\.$' || true)
if echo "$findings" | grep -q 'warning:\|error:'; then
  echo "== clang-tidy:"
  echo "$findings"
  status=1
else
  echo "== clang-tidy: no findings"
fi
exit $status
