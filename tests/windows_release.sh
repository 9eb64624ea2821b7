#!/usr/bin/env bash
# Checks the Windows release zip as a user gets it: one top folder holding
# both programs, the instructions (CR LF; the Japanese ones with a byte-order
# mark), the licence and an example; both programs need no DLL beyond
# Windows' own; and both run from the unpacked folder under Wine on the
# example, the tool writing the same bytes as the native build. Then that
# the build's rrensen-dxf.exe stops a batch cleanly on Ctrl-C.
#   tests/windows_release.sh BUILD_DIR [NATIVE_TOOL]
set -euo pipefail
build=${1:-build/windows}
native=${2:-$PWD/build/default/src/rrensen}
zip=$(realpath "$(ls "$build"/rrensen-*-windows-x86_64.zip)")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $1"
    echo "$passed passed, 1 failed"
    exit 1
  fi
}

(cd "$work" && cmake -E tar xf "$zip")
top=$(ls "$work")
check "one top folder" test "$(echo "$top" | wc -l)" -eq 1
dir="$work/$top"
# The page in one file rides along when the web preset built it.
page=$(dirname "$build")/web/rrensen.html
expected=$(printf '%s\n' LICENSE README-windows-ja.txt README-windows.txt example \
  example/kdx_temp.txt rrensen-view.exe rrensen.exe $([ -f "$page" ] && echo rrensen.html) | sort)
check "the folder's contents" test "$(cd "$dir" && find . -mindepth 1 | sed 's|^\./||' | sort)" = "$expected"
if [ -f "$page" ]; then
  check "rrensen.html is the web preset's single-file page" cmp -s "$dir/rrensen.html" "$page"
fi
check "README-windows.txt has CR LF line ends" \
  test "$(grep -c $'[^\r]$' "$dir/README-windows.txt" || true)" -eq 0
check "README-windows-ja.txt starts with a byte-order mark" \
  test "$(head -c 3 "$dir/README-windows-ja.txt" | od -An -tx1 | tr -d ' ')" = efbbbf
for exe in rrensen.exe rrensen-view.exe; do
  check "$exe needs no DLL beyond Windows' own" bash -c "! x86_64-w64-mingw32-objdump -p '$dir/$exe' |
    grep -i 'DLL Name' | grep -v -i -E 'kernel32|msvcrt|user32|advapi32|ws2_32|shell32|ole32'"
done

run="$work/run"
mkdir "$run"
cp "$dir/example/kdx_temp.txt" "$run/"
(cd "$run" && wine "$dir/rrensen.exe" >/dev/null 2>&1)
check "the tool leaves only KDX_TEMP.TXT" test "$(ls "$run")" = KDX_TEMP.TXT
if [ -x "$native" ]; then
  same="$work/native"
  mkdir "$same"
  cp "$dir/example/kdx_temp.txt" "$same/"
  (cd "$same" && "$native" >/dev/null 2>&1)
  check "the same bytes as the native build" cmp -s "$run/KDX_TEMP.TXT" "$same/KDX_TEMP.TXT"
fi
check "rrensen.exe --version" bash -c "wine '$dir/rrensen.exe' --version 2>/dev/null | grep -q '^rrensen '"
(cd "$work" && wine "$dir/rrensen-view.exe" "$dir/example/kdx_temp.txt" -o picture.svg >/dev/null 2>&1)
check "the preview draws the example" grep -q '<svg' "$work/picture.svg"

# Ctrl-C stops a batch of rrensen-dxf.exe: status 130, the files finished
# kept, no scratch file left. Wine turns SIGINT into the console's Ctrl-C.
dxf_exe=$(realpath "$build/src/dxf/rrensen-dxf.exe")
batch="$work/batch"
mkdir -p "$batch/in"
/usr/bin/python3 - "$batch/in" <<'PY'
import sys
entities = "".join(
    "  0\nLWPOLYLINE\n  8\n0\n 90\n4\n 70\n1\n"
    + "".join(f" 10\n{x + k * 0.001}\n 20\n{y}\n" for x, y in ((0, 0), (100, 0), (100, 100), (0, 100)))
    for k in range(20000))
text = f"  0\nSECTION\n  2\nENTITIES\n{entities}  0\nENDSEC\n  0\nEOF\n"
for n in range(60):
    open(f"{sys.argv[1]}/d{n:02}.dxf", "w").write(text)
PY
wine "$dxf_exe" -c 5 -j 2 -o "$batch/out" "$batch/in" >/dev/null 2>&1 &
launcher=$!
for _ in $(seq 600); do
  [ -n "$(find "$batch/out" -name 'd*.dxf' 2>/dev/null)" ] && break
  sleep 0.05
done
# SIGINT to the newest process running it (Wine's, not its launcher's),
# found in /proc, which needs no package.
newest=0
for cmdline in /proc/[0-9]*/cmdline; do
  pid=${cmdline#/proc/}
  pid=${pid%/cmdline}
  if tr '\0' ' ' <"$cmdline" 2>/dev/null | grep -q "rrensen-dxf.exe -c 5 -j 2" &&
    [ "$pid" -gt "$newest" ]; then
    newest=$pid
  fi
done
[ "$newest" -gt 0 ] && kill -INT "$newest" || true
interrupted=0
wait "$launcher" || interrupted=$?
check "Ctrl-C stops a batch with status 130" test "$interrupted" -eq 130
check "an interrupted batch leaves no scratch file" \
  test -z "$(find "$batch/out" -name '*.rrensen-dxf-part')"
check "an interrupted batch keeps the files it finished, whole" bash -c \
  "n=\$(ls '$batch/out' | wc -l); [ \$n -ge 1 ] && [ \$n -lt 60 ] && cmp -s '$batch/out/d00.dxf' \
   <(wine '$dxf_exe' -c 5 '$batch/in/d00.dxf' 2>/dev/null)"
echo "$passed passed, 0 failed"
