#!/usr/bin/env bash
# Builds and runs every test:
#   1. the native Release build: unit tests, end-to-end tests, corpus replay,
#      and one short run of the benchmarks so that they keep working;
#   2. the same suite built with AddressSanitizer and UBSan;
#   3. the Windows build (static rrensen.exe) against the end-to-end suite
#      under Wine, when mingw-w64 and Wine are installed;
#   4. 60 seconds of fuzzing, when clang with libFuzzer is installed.
# .ci/run installs everything, so CI always runs all four.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)
skipped=()

echo "== native build and tests"
cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

echo "== benchmark smoke run (times are not judged)"
bench/run.sh 3

echo "== sanitizer build and tests"
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

if command -v wine >/dev/null && command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "== Windows build, end-to-end suite under Wine"
  export WINEDEBUG=-all
  # A Wine prefix of the build's own, so that the suite needs no home folder.
  export WINEPREFIX="${WINEPREFIX:-$PWD/build/wine}"
  cmake --preset windows
  cmake --build --preset windows -j "$jobs"
  cmake --preset windows-e2e
  cmake --build --preset windows-e2e -j "$jobs"
  # Create the Wine prefix first, so that its messages stay out of the tests.
  wine cmd /c exit >/dev/null 2>&1 || true
  ctest --preset windows
  cpack --preset windows
  if x86_64-w64-mingw32-objdump -p build/windows/src/rrensen.exe | grep -i "DLL Name" |
      grep -v -i -E "kernel32|msvcrt|user32|advapi32|ws2_32|shell32|ole32"; then
    echo "rrensen.exe needs a DLL beyond Windows' own" >&2
    exit 1
  fi
else
  skipped+=("the Windows suite (needs g++-mingw-w64-x86-64-posix and wine)")
fi

if echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  echo "== fuzzing for 60 seconds"
  cmake --preset fuzz
  cmake --build --preset fuzz -j "$jobs"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  build/fuzz/fuzz/rrensen_fuzz -max_total_time=60 -print_final_stats=1 \
    -dict=fuzz/keys.dict -artifact_prefix="$work/" "$work" fuzz/corpus
else
  skipped+=("fuzzing (needs clang and libclang-rt-dev)")
fi

for s in "${skipped[@]+"${skipped[@]}"}"; do echo "SKIPPED: $s"; done
echo "All test suites passed."
