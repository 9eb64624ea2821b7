#!/usr/bin/env bash
# Redraws the pictures of the README with rrensen-view.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
view=${1:-$here/../../build/default/src/rrensen-view}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
draw() {  # name, exchange-file text, options for rrensen-view
  local name=$1 text=$2
  shift 2
  printf '%b' "$text" > "$tmp/$name.txt"
  (cd "$tmp" && "$view" "$@" -o "$here/$name.svg" "$name.txt" 2> "$here/$name.txt")
}
draw right-angle 'hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\n'
draw square 'hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 100\r\nhp5 0 0\r\n'
draw chord 'hp1 0 0\r\nhp2 100 0\r\nhp3 200 5\r\n'
draw refused 'hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 30\r\nhp5 0 22\r\n'
# One outline in each corner style (docs/corner-styles.md).
outline='hp1 0 0\r\nhp2 100 0\r\nhp3 100 70\r\nhp4 40 30\r\nhp5 20 90\r\nhp6 -10 95\r\n'
for style in chord radius chamfer chord-chamfer; do
  draw "style-$style" "$outline" -c 12 --style "$style"
done
