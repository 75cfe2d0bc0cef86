#!/usr/bin/env bash
# Checks beyond the normal test run, each in a build folder of its own, built
# with clang at -O1:
#   1. build-asan: everything the tests need under AddressSanitizer and
#      UndefinedBehaviorSanitizer; the whole suite runs with leak detection.
#   2. build-tsan: the process runner, the converter probe and the source reader, with their tests, under ThreadSanitizer.
#   3. every fuzz harness of build-asan for FUZZ_SECONDS (default 25) on its
#      seeds under tests/fuzz/corpus/.
# Every stage runs even when an earlier one failed; any sanitizer report, in a
# test or in a program a test started, fails the run. The suppression files
# under tests/sanitizers/ name third-party code only.
set -euo pipefail
# Only the packages: the normal build is not needed here.
MOVARIN_PACKAGES_ONLY=1 source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

fuzz_seconds=${FUZZ_SECONDS:-25}
suppressions=$PWD/tests/sanitizers
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export ASAN_SYMBOLIZER_PATH="${ASAN_SYMBOLIZER_PATH:-$(command -v llvm-symbolizer)}"

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

failed=()
timings=()

# Folder, then the sanitizer flags that every object and every link gets.
configure() {
  local folder=$1 flags=$2
  cmake -S . -B "$folder" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DCMAKE_CXX_FLAGS="$flags -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" -DCMAKE_MODULE_LINKER_FLAGS="$flags" \
    -DMOVARIN_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
}

# Reports go to files as well as failing the program, so that one in a child
# process whose exit code a test does not look at still counts.
fresh_report_folder() {
  rm -rf "$1" && mkdir -p "$1"
}

check_report_folder() {
  local folder=$1
  if compgen -G "$folder/*" >/dev/null; then
    echo "Sanitizer reports:"
    for report in "$folder"/*; do
      echo "== $report"
      cat "$report"
    done
    return 1
  fi
}

# The stage functions return at the first failing step themselves: errexit
# does not reach into a function called from a condition.
stage() {
  local name=$1
  shift
  local start=$SECONDS status=passed
  echo "=== $name"
  "$@" || { status=FAILED; failed+=("$name"); }
  timings+=("$(printf '%-34s %5d s  %s' "$name" $((SECONDS - start)) "$status")")
}

# The package tests stay with the normal run: they judge the package as it
# ships, and a sanitized build installed system-wide is not that package.
address_and_undefined() {
  local reports=$PWD/build-asan/sanitizer-reports
  # fuzzer-no-link only adds coverage counters: the fuzz harnesses then see
  # into the libraries they call.
  configure build-asan "-fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link" || return
  cmake --build build-asan -j2 || return
  fresh_report_folder "$reports"
  ASAN_OPTIONS="detect_leaks=1:log_path=$reports/asan" \
  LSAN_OPTIONS="suppressions=$suppressions/leaks.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:log_path=$reports/ubsan" \
    ctest --test-dir build-asan -LE package --output-on-failure --timeout 900 || { check_report_folder "$reports"; return 1; }
  check_report_folder "$reports"
}

thread() {
  local reports=$PWD/build-tsan/sanitizer-reports
  configure build-tsan "-fsanitize=thread" || return
  local tests
  mapfile -t tests < <(ctest --test-dir build-tsan -L 'process|converter|threads' -N | sed -n 's/^ *Test *#[0-9]*: //p')
  ((${#tests[@]})) || { echo "No tests labelled process, converter or threads"; return 1; }
  cmake --build build-tsan -j2 --target "${tests[@]}" || return
  fresh_report_folder "$reports"
  TSAN_OPTIONS="suppressions=$suppressions/threads.supp:second_deadlock_stack=1:log_path=$reports/tsan" \
    ctest --test-dir build-tsan -L 'process|converter|threads' --output-on-failure --timeout 900 || { check_report_folder "$reports"; return 1; }
  check_report_folder "$reports"
}

# Each harness starts from its seeds and a scratch corpus; what it finds new
# stays in build-asan/fuzz/ for the next local run, never in the tree.
fuzz() {
  local result=0
  local harness name seeds work log
  for harness in build-asan/tests/fuzz/fuzz_*; do
    [ -f "$harness" ] && [ -x "$harness" ] || continue
    name=$(basename "$harness")
    seeds=tests/fuzz/corpus/${name#fuzz_}
    work=build-asan/fuzz/$name
    log=build-asan/fuzz/$name.log
    mkdir -p "$work" || return
    if "$harness" -max_total_time="$fuzz_seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
         -print_final_stats=1 -artifact_prefix="build-asan/fuzz/$name-" "$work" "$seeds" >"$log" 2>&1; then
      printf '%-24s %12s executions in %s s\n' "$name" \
        "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")" "$fuzz_seconds"
    else
      echo "$name FAILED; the input that fails is saved beside $log:"
      grep -v '^#[0-9]' "$log" | tail -n 40
      result=1
    fi
  done
  return $result
}

stage "AddressSanitizer + UBSan suite" address_and_undefined
stage "ThreadSanitizer process tests" thread
stage "Fuzzing (${fuzz_seconds} s per harness)" fuzz

echo "=== Wall time per stage"
printf '%s\n' "${timings[@]}"
if ((${#failed[@]})); then
  echo "Failed: ${failed[*]}"
  exit 1
fi
