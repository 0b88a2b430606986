#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite. GUI tests use the
# offscreen platform, so no display is needed.
#
#   scripts/test.sh              Release build in build/release
#   scripts/test.sh --sanitize   Debug build with AddressSanitizer and
#                                UndefinedBehaviorSanitizer in build/sanitize
#   scripts/test.sh ... -- ARGS  ARGS go to ctest (-R test_app, say)
#
# With CI set (CI=1 or CI=true), warnings in our code are errors. With
# TONVEK_REGENERATE=1 the golden command-line tests write their expected files
# instead of comparing; review the diff before committing it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sanitize=0
ctest_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --sanitize) sanitize=1 ;;
    --) shift; ctest_args=("$@"); break ;;
    *) echo "usage: scripts/test.sh [--sanitize] [-- CTEST_ARGS...]" >&2; exit 2 ;;
  esac
  shift
done

"$root/scripts/deps.sh"

werror=OFF
case "${CI:-}" in
  "" | 0 | false) ;;
  *) werror=ON ;;
esac

if [ "$sanitize" = 1 ]; then
  # The benchmarks are not run under the sanitizers; skipping them saves CI time.
  dir=$("$root/scripts/build.sh" Debug --dir sanitize -DTONVEK_SANITIZE=ON -DTONVEK_BUILD_BENCH=OFF \
        -DTONVEK_WERROR="$werror" | tail -n 1)
  supp="$root/scripts/sanitize"
  # Stop at the first finding with a stack; the suppression files name only faults
  # inside Qt and the system libraries (each is commented there).
  export ASAN_OPTIONS="abort_on_error=0:halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$supp/ubsan.supp"
  export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
else
  type=${TONVEK_BUILD_TYPE:-Release}
  dir=$("$root/scripts/build.sh" "$type" -DTONVEK_SANITIZE=OFF -DTONVEK_WERROR="$werror" | tail -n 1)
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" "${ctest_args[@]}"
