#!/bin/bash
# One series of rrensen-dxf (on every core, and on one: -j 1) against an
# earlier build of it (OTHER), ezdxf and the copy floor, on the drawings bench/dxf/make_drawing.py writes:
# 20,000 closed five-point polylines, the 100 MB drawing, one refused
# polyline of 10^6 vertices, and a folder of 200 drawings (as a batch, and
# one process per file). Wall times by hyperfine, peak memory by GNU time.
#
# usage: OTHER=/path/to/earlier/rrensen-dxf bench/dxf/series.sh [RUNS]
#        (the folder series runs twice whatever RUNS says: minutes each)
#        (after the default build; needs hyperfine and time)
set -eu
cd "$(dirname "$0")/../.."
RUNS=${1:-5}
BUILD=${BUILD:-build/default}
TOOL=$BUILD/src/dxf/rrensen-dxf
OTHER=${OTHER:-$TOOL}
FLOOR=$BUILD/bench/dxf_copy_floor
WORK=$BUILD/bench/dxf-work
mkdir -p "$WORK"
for kind in polylines drawing big; do
  [ -f "$WORK/$kind.dxf" ] || /usr/bin/python3 bench/dxf/make_drawing.py $kind "$WORK/$kind.dxf"
done
[ -d "$WORK/folder" ] || /usr/bin/python3 bench/dxf/make_drawing.py folder "$WORK/folder"
OUT=$WORK/out
rm -rf "$OUT" && mkdir -p "$OUT"

series() {  # NAME RUNS COMMAND...
  local name=$1 runs=$2
  shift 2
  hyperfine --style basic --runs "$runs" --export-markdown "$WORK/series-$name.md" -i "$@"
}
series polylines "$RUNS" \
  -n "rrensen-dxf" "$TOOL -c 5 $WORK/polylines.dxf -o $OUT/p.dxf" \
  -n "rrensen-dxf -j 1" "$TOOL -j 1 -c 5 $WORK/polylines.dxf -o $OUT/p1.dxf" \
  -n "earlier rrensen-dxf" "$OTHER -c 5 $WORK/polylines.dxf -o $OUT/p-other.dxf" \
  -n "ezdxf read + save" "/usr/bin/python3 bench/dxf/ezdxf_copy.py $WORK/polylines.dxf $OUT/p-ezdxf.dxf"
series drawing "$RUNS" \
  -n "copy floor" "$FLOOR $WORK/drawing.dxf $OUT/d-floor.dxf" \
  -n "rrensen-dxf" "$TOOL -c 5 $WORK/drawing.dxf -o $OUT/d.dxf" \
  -n "rrensen-dxf -j 1" "$TOOL -j 1 -c 5 $WORK/drawing.dxf -o $OUT/d1.dxf" \
  -n "earlier rrensen-dxf" "$OTHER -c 5 $WORK/drawing.dxf -o $OUT/d-other.dxf"
series big "$RUNS" \
  -n "rrensen-dxf" "$TOOL -c 5 $WORK/big.dxf -o $OUT/b.dxf" \
  -n "earlier rrensen-dxf" "$OTHER -c 5 $WORK/big.dxf -o $OUT/b-other.dxf"
# The files one process at a time, as before batches, then as one batch.
series folder 2 --prepare "rm -rf $OUT/f" \
  -n "one process per file" \
  "find $WORK/folder -name '*.dxf' | while read -r f; do $OTHER -c 5 \"\$f\" -o $OUT/one.dxf; done" \
  -n "batch -j 1" "$TOOL -c 5 -j 1 -o $OUT/f $WORK/folder" \
  -n "batch -j 2" "$TOOL -c 5 -j 2 -o $OUT/f $WORK/folder"
for file in drawing big; do
  /usr/bin/time -f "$file.dxf peak memory: %M KB" "$TOOL" -c 5 "$WORK/$file.dxf" -o "$OUT/m.dxf" || true
done
