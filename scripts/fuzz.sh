#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with Clang (libFuzzer, AddressSanitizer, UBSan) into
# build/fuzz and runs each for SECONDS over a copy of its seed corpus; the committed
# corpus is never changed.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     SECONDS defaults to 60, TARGETs to all
# Exits non-zero when a target crashes, times out or runs out of memory; the input that
# did it is left in build/fuzz/crashes/ (replay: build/fuzz/fuzz/TARGET FILE), the
# fuzzer's output in build/fuzz/logs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)

seconds=${1:-60}
[ $# -gt 0 ] && shift
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [SECONDS] [TARGET...]" >&2
  exit 2
fi

"$root/scripts/deps.sh"
missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

build="$root/build/fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTONVEK_FUZZ=ON -DTONVEK_BUILD_TESTS=OFF -DTONVEK_BUILD_BENCH=OFF >/dev/null

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in "$root"/fuzz/Fuzz*.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi
for t in "${targets[@]}"; do
  [ -f "$root/fuzz/$t.cpp" ] || { echo "no fuzz target $t (fuzz/$t.cpp)" >&2; exit 2; }
done
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

mkdir -p "$build/crashes" "$build/logs"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# The targets write their inputs and saved projects to files; a safe save syncs to
# disk, so on a memory file system they run several times faster.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
failed=()
summary=()
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  rm -rf "$corpus"
  mkdir -p "$corpus"
  if [ -d "$root/fuzz/corpus/$t" ]; then
    cp -R "$root/fuzz/corpus/$t/." "$corpus/"
  fi
  log="$build/logs/$t.log"
  echo "== $t: $seconds s"
  status=0
  "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" "$corpus" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  final=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(echo "$final" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
  ft=$(echo "$final" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
  if [ "$status" -ne 0 ]; then
    failed+=("$t")
    summary+=("$(printf '%-20s FAILED (exit %s), see %s' "$t" "$status" "$log")")
    grep -E 'ERROR: |SUMMARY: |invariant violated|Test unit written' "$log" | head -n 5 >&2 || true
  else
    summary+=("$(printf '%-20s execs %-9s cov %-6s ft %s' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}")")
  fi
done

echo
printf '%s\n' "${summary[@]}"
echo "total $(( $(date +%s) - start )) s"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found problems in: ${failed[*]}; reproducers in $build/crashes/" >&2
  exit 1
fi
