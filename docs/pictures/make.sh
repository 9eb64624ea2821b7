#!/usr/bin/env bash
# Redraws the pictures of the README with rrensen-view.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
view=${1:-$here/../../build/default/src/rrensen-view}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
draw() {  # name, exchange-file text
  printf '%b' "$2" > "$tmp/$1.txt"
  (cd "$tmp" && "$view" -o "$here/$1.svg" "$1.txt" 2> "$here/$1.txt")
}
draw right-angle 'hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\n'
draw square 'hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 100\r\nhp5 0 0\r\n'
draw chord 'hp1 0 0\r\nhp2 100 0\r\nhp3 200 5\r\n'
draw refused 'hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 30\r\nhp5 0 22\r\n'
