#!/usr/bin/env bash
# Runs the built tool on the shipped example exchange file in a scratch
# directory, as the host would, and shows the file before and after.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-}
if [ -z "$tool" ]; then
  # The tool-only build of the README's first command, else the full build.
  for candidate in "$here/../build/tool/src/rrensen" "$here/../build/default/src/rrensen"; do
    if [ -x "$candidate" ]; then tool=$candidate; break; fi
  done
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/kdx_temp.txt" "$work/kdx_temp.txt"
echo "== kdx_temp.txt as the host leaves it"
tr -d '\r' < "$work/kdx_temp.txt"
status=0
(cd "$work" && "$tool" -c5) || status=$?
echo "== exit status $status; KDX_TEMP.TXT as the host reads it back"
tr -d '\r' < "$work/KDX_TEMP.TXT"
