#!/usr/bin/env bash
# Builds and runs every test: the unit and end-to-end suites of the native
# Release build.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"
