#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# each from its seed corpus for FUZZ_SECONDS (default 60) seconds. Any finding fails; its input is
# left in build-fuzz/ as crash-*, leak-*, timeout-* or oom-*.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
export CC=clang-14 CXX=clang++-14
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_WERROR=ON \
  -DVANTOR_FUZZERS=ON -DVANTOR_SANITIZE=ON -DVANTOR_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
cmake --build build-fuzz -j "$(nproc)" --target loadmesh_fuzzer loadtexture_fuzzer

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

run() {
  local name=$1 timeout=$2
  # libFuzzer adds what it finds to its first corpus directory: keep the committed seeds as they are.
  local corpus="$scratch/$name"
  mkdir -p "$corpus"
  cp "fuzz/corpus/$name"/* "$corpus"/
  "build-fuzz/fuzz/${name}_fuzzer" -max_total_time="$seconds" -timeout="$timeout" \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/ "$corpus"
}

# A mesh of the fuzzer's few kilobytes loads in milliseconds: one that takes seconds is a finding,
# reported within the run.
run loadmesh 10
# A file that keeps its decoding child busy fails to load when the child's bounds end it (its
# header's second, then up to a minute of processor time as the header claims, and three minutes
# of wall-clock time): only beyond those is it a finding.
run loadtexture 190
echo "fuzzing found nothing"
