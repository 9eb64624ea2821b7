#!/usr/bin/env bash
# Builds and runs every test, one line of results per suite:
#   native     the Release build: unit, end-to-end, kill and corpus tests,
#              the installed-library consumer, and the preview's tests
#   bench      one short run of the benchmarks, so that they keep working
#   tidy       clang-tidy over the tool's code: any finding fails
#   asan       the same suite built with AddressSanitizer and UBSan
#   web        the page built with emscripten and driven in headless Chromium,
#              compared with the native programs (needs emscripten, chromium,
#              chromium-driver and python3-selenium)
#   windows    the static Windows build: the end-to-end suite under Wine,
#              and the release zip unpacked and run (needs mingw-w64, wine)
#   fuzz       60 seconds of libFuzzer on whole runs of the tool and 30 on
#              rrensen-dxf (needs clang)
#   python     the Python package, installed by pip into a fresh venv, and
#              its pytest suite (needs python3-venv, python3-dev,
#              python3-pybind11, python3-pytest, python3-hypothesis)
# Each suite's output goes to build/logs/<suite>.log and is shown only when
# the suite fails. .ci/run installs everything, so CI runs every suite.
set -uo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)
logs=build/logs
mkdir -p "$logs"
passed=0 failed=0 skipped=0
failures=()

# Runs "$@" with its output in the suite's log; prints the suite's line.
suite() {
  local name=$1
  shift
  local log="$logs/$name.log" start=$SECONDS
  if "$@" >"$log" 2>&1; then
    count_results "$log"
    printf '%-8s ok     %s (%ds)\n' "$name:" "$counts" $((SECONDS - start))
  else
    count_results "$log"
    [ "$suite_failed" -eq 0 ] && failed=$((failed + 1))
    printf '%-8s FAILED %s (%ds); from %s:\n' "$name:" "$counts" \
      $((SECONDS - start)) "$log"
    grep -E 'FAILED|Failed|failed|error|Error|ERROR|warning:|SUMMARY|broken check' "$log" |
      grep -v -E '^[0-9]+% tests passed, 0 tests failed' | tail -40
    tail -15 "$log"
    failures+=("$name")
  fi
}

# Reads "N passed, N failed" lines and ctest's summary from a log: sets
# $counts and $suite_failed, and adds to the totals.
count_results() {
  local line p=0 f=0 s=0
  while read -r line; do
    if [[ $line =~ ([0-9]+)%\ tests\ passed,\ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
      f=$((f + BASH_REMATCH[2]))
      p=$((p + BASH_REMATCH[3] - BASH_REMATCH[2]))
    elif [[ $line =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed(,\ ([0-9]+)\ skipped)?$ ]]; then
      p=$((p + BASH_REMATCH[1]))
      f=$((f + BASH_REMATCH[2]))
      s=$((s + ${BASH_REMATCH[4]:-0}))
    fi
  done <"$1"
  s=$((s + $(grep -c -E '\(Skipped\)|\[  SKIPPED \] [A-Za-z]' "$1" || true)))
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
  suite_failed=$f
  counts="$p passed, $f failed, $s skipped"
}

skip() {
  printf '%-8s SKIPPED: %s\n' "$1:" "$2"
}

native() {
  cmake --preset default && cmake --build --preset default -j "$jobs" &&
    ctest --preset default -j "$jobs"
}

tidy() {
  # The tool's own code (not the tests), with the project's .clang-tidy.
  local files
  files=$(git ls-files 'src/*.cc' | grep -v '_test\.cc$')
  run-clang-tidy -quiet -j "$jobs" -p build/default $files >build/logs/tidy-findings.txt 2>&1
  local status=$?
  cat build/logs/tidy-findings.txt
  if grep -q -E '(warning|error):' build/logs/tidy-findings.txt || [ $status -ne 0 ]; then
    echo "clang-tidy found problems"
    return 1
  fi
  echo "1 passed, 0 failed"
}

asan() {
  cmake --preset asan && cmake --build --preset asan -j "$jobs" &&
    ctest --preset asan -j "$jobs"
}

windows() {
  export WINEDEBUG=-all
  # A Wine prefix of the build's own, so that the suite needs no home folder.
  export WINEPREFIX="${WINEPREFIX:-$PWD/build/wine}"
  cmake --preset windows && cmake --build --preset windows -j "$jobs" &&
    cmake --preset windows-e2e && cmake --build --preset windows-e2e -j "$jobs" || return 1
  # Create the Wine prefix first, so that its messages stay out of the tests.
  wine cmd /c exit >/dev/null 2>&1 || true
  # One wineserver for the whole suite: by default it exits a few seconds
  # after its last client, and a test that starts a program just then loses
  # its connection ("recvmsg: Connection reset by peer").
  wineserver -p
  local status=0
  ctest --preset windows && cpack --preset windows &&
    tests/windows_release.sh build/windows "$PWD/build/default/src/rrensen" || status=1
  wineserver -k || true
  return $status
}

fuzz() {
  cmake --preset fuzz && cmake --build --preset fuzz -j "$jobs" || return 1
  local work
  work=$(mktemp -d)
  cmake --build --preset fuzz -j "$jobs" --target rrensen_dxf_fuzz || return 1
  mkdir "$work/tool" "$work/dxf"
  build/fuzz/fuzz/rrensen_fuzz -max_total_time=60 -print_final_stats=1 \
    -dict=fuzz/keys.dict -artifact_prefix="$work/" "$work/tool" fuzz/corpus &&
    build/fuzz/src/dxf/rrensen_dxf_fuzz -max_total_time=30 -print_final_stats=1 \
      -artifact_prefix="$work/" "$work/dxf" src/dxf/corpus
  local status=$?
  rm -rf "$work"
  [ $status -eq 0 ] && echo "2 passed, 0 failed"
  return $status
}

web() {
  # The native programs the page is compared with, then the page itself.
  cmake --preset default && cmake --build --preset default -j "$jobs" \
    --target rrensen rrensen-dxf rrensen-view || return 1
  cmake --preset web && cmake --build --preset web -j "$jobs" || return 1
  /usr/bin/python3 web/page_test.py --web build/web --native build/default/src --logs "$logs"
}

bench() {
  bench/run.sh 3 && echo "1 passed, 0 failed"
}

# The Python interpreter the package is built for: $RRENSEN_PYTHON, else the
# system's (Debian's packages install for /usr/bin/python3, which another
# python3 on the PATH may hide), else python3; empty when none has what the
# build and the tests need.
package_python() {
  local candidate
  for candidate in "${RRENSEN_PYTHON:-}" /usr/bin/python3 python3; do
    [ -n "$candidate" ] || continue
    if "$candidate" - >/dev/null 2>&1 <<'PY'; then
import ensurepip, os, sysconfig, venv
import hypothesis, pybind11, pytest, setuptools
assert os.path.exists(os.path.join(sysconfig.get_paths()["include"], "Python.h"))
PY
      echo "$candidate"
      return
    fi
  done
}

# The Python package as a user installs it: a fresh venv that sees the
# system's packages (pybind11, NumPy, Hypothesis), pip install without
# network, then pytest, with the library called from C++ as the reference.
# Prints pytest's counts as "N passed, N failed, N skipped" (xfails skip).
python_package() {
  local python=$1 venv=build/python-venv report=$logs/python-junit.xml status
  rm -rf "$venv" "$report"
  "$python" -m venv --system-site-packages "$venv" || return 1
  echo "pip install: $logs/python-pip.log"
  if ! "$venv/bin/pip" install --no-build-isolation --no-index --no-deps . >"$logs/python-pip.log" 2>&1; then
    tail -30 "$logs/python-pip.log"
    return 1
  fi
  cmake --preset default >/dev/null &&
    cmake --build --preset default -j "$jobs" --target rrensen-dxf || return 1
  RRENSEN_REQUIRE_PROGRAMS=1 RRENSEN_DXF_CLI=$PWD/build/default/src/dxf/rrensen-dxf \
    PYTHONDONTWRITEBYTECODE=1 "$venv/bin/python" -m pytest -p no:cacheprovider -q \
    --junitxml="$report" python/tests
  status=$?
  if [ $status -eq 5 ]; then
    echo "pytest found no tests in python/tests"
    echo "0 passed, 1 failed"
    return 1
  fi
  [ -f "$report" ] || return 1
  "$venv/bin/python" - "$report" <<'PY'
import sys
import xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
suites = [root] if root.tag == "testsuite" else list(root)
count = lambda key: sum(int(s.get(key, 0)) for s in suites)
failed = count("failures") + count("errors")
print(f"{count('tests') - failed - count('skipped')} passed, {failed} failed, {count('skipped')} skipped")
PY
  return $status
}

# test.sh --check-summary: checks the summary lines themselves on two
# made-up suites, one green and one red with a long log (a ctest test).
if [ "${1:-}" = "--check-summary" ]; then
  logs=$(mktemp -d)
  trap 'rm -rf "$logs"' EXIT
  green=$(suite green bash -c 'seq 500; echo "3 passed, 0 failed"')
  red=$(suite red bash -c 'seq 5000; echo "FAILED: made up"; echo "1 passed, 1 failed"; exit 1')
  skips=$(suite skips bash -c 'echo "2 passed, 0 failed, 4 skipped"')
  ok=1
  [[ $green =~ ^green:\ +ok\ +3\ passed,\ 0\ failed,\ 0\ skipped\ \([0-9]+s\)$ ]] || ok=0
  [[ $skips =~ ^skips:\ +ok\ +2\ passed,\ 0\ failed,\ 4\ skipped ]] || ok=0
  [[ $red == *"red:     FAILED 1 passed, 1 failed"* && $red == *"FAILED: made up"* ]] || ok=0
  [ "$(echo "$red" | wc -l)" -lt 60 ] || ok=0
  if [ $ok -eq 1 ]; then echo "1 passed, 0 failed"; else
    printf 'green:\n%s\nred:\n%s\n0 passed, 1 failed\n' "$green" "$red"; exit 1; fi
  exit 0
fi

suite native native
suite bench bench
if command -v run-clang-tidy >/dev/null; then
  suite tidy tidy
else
  skip tidy "needs clang-tidy"
  skipped=$((skipped + 1))
fi
suite asan asan
# Before the Windows suite: its zip carries the page's single file.
if command -v emcc >/dev/null && command -v chromedriver >/dev/null &&
    /usr/bin/python3 -c 'import selenium' 2>/dev/null; then
  suite web web
else
  skip web "needs emscripten, chromium, chromium-driver and python3-selenium"
  skipped=$((skipped + 1))
fi
if command -v wine >/dev/null && command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  suite windows windows
else
  skip windows "needs g++-mingw-w64-x86-64-posix and wine"
  skipped=$((skipped + 1))
fi
if echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  suite fuzz fuzz
else
  skip fuzz "needs clang and libclang-rt-dev"
  skipped=$((skipped + 1))
fi

python=$(package_python)
if [ -n "$python" ]; then
  suite python python_package "$python"
else
  skip python "needs python3-venv, python3-dev, python3-pybind11, python3-pytest and python3-hypothesis"
  skipped=$((skipped + 1))
fi

if [ ${#failures[@]} -gt 0 ]; then
  echo "FAILED suites: ${failures[*]}"
  echo "total: $passed passed, $failed failed, $skipped skipped"
  exit 1
fi
echo "total: $passed passed, $failed failed, $skipped skipped"
