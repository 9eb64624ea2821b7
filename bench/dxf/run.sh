#!/bin/bash
# Times rrensen-dxf on a drawing of about 100 MB against the floor of copying
# the file and against ezdxf reading and saving it, in one series, with the
# peak memory of each (GNU time's maximum resident set size).
#
# usage: bench/dxf/run.sh [RUNS [EZDXF_RUNS]]     (after the default build)
#
#   RUNS        runs of each command but ezdxf (default 5); the medians show
#   EZDXF_RUNS  runs of ezdxf (default 1: it takes minutes)
#   BUILD       the build folder (default build/default)
#   OTHER       another rrensen-dxf to time in the same series, e.g. an
#               earlier one, whose output must be the same bytes
#   SUMMARY_ONLY=1  print the medians of the last series again, running
#               nothing
#
# The drawings are written once, into $BUILD/bench/dxf-work, by
# bench/dxf/make_drawing.py (with /usr/bin/python3 and python3-ezdxf):
# drawing.dxf (200000 LWPOLYLINEs, 56000 outlines of lines and arcs) and
# big.dxf (one refused LWPOLYLINE of 10^6 vertices). Needs /usr/bin/time
# (Debian's package time).
set -u
cd "$(dirname "$0")/../.."
RUNS=${1:-5}
EZDXF_RUNS=${2:-1}
BUILD=${BUILD:-build/default}
TOOL=$BUILD/src/dxf/rrensen-dxf
FLOOR=$BUILD/bench/dxf_copy_floor
WORK=$BUILD/bench/dxf-work
OTHER=${OTHER:-}
for program in "$TOOL" "$FLOOR" /usr/bin/time; do
  [ -x "$program" ] || { echo "missing $program (build the default preset; apt-get install time)"; exit 2; }
done
mkdir -p "$WORK"
[ -f "$WORK/drawing.dxf" ] || /usr/bin/python3 bench/dxf/make_drawing.py drawing "$WORK/drawing.dxf" || exit 2
[ -f "$WORK/big.dxf" ] || /usr/bin/python3 bench/dxf/make_drawing.py big "$WORK/big.dxf" || exit 2
DRAWING=$WORK/drawing.dxf
BYTES=$(stat -c %s "$DRAWING")

# name|runs|command
commands=(
  "copy floor (dxf_copy_floor)|$RUNS|$FLOOR $DRAWING $WORK/out-floor.dxf"
  "cp|$RUNS|cp $DRAWING $WORK/out-cp.dxf"
  "rrensen-dxf -c 5|$RUNS|$TOOL -c 5 $DRAWING -o $WORK/out-tool.dxf"
  "rrensen-dxf --join -c 5|$RUNS|$TOOL --join -c 5 $DRAWING -o $WORK/out-join.dxf"
  "rrensen-dxf --join -c 5 --report|$RUNS|$TOOL --join -c 5 --report $WORK/out.jsonl $DRAWING -o $WORK/out-join.dxf"
)
if [ -n "$OTHER" ]; then
  commands+=(
    "other rrensen-dxf -c 5|$RUNS|$OTHER -c 5 $DRAWING -o $WORK/out-other.dxf"
    "other rrensen-dxf --join -c 5|$RUNS|$OTHER --join -c 5 $DRAWING -o $WORK/out-other-join.dxf"
  )
fi
commands+=(
  "ezdxf read + save|$EZDXF_RUNS|/usr/bin/python3 bench/dxf/ezdxf_copy.py $DRAWING $WORK/out-ezdxf.dxf"
  "rrensen-dxf -c 5 big.dxf (10^6 vertices)|1|$TOOL -c 5 $WORK/big.dxf -o $WORK/out-big.dxf"
)

# Every command's runs, interleaved: run k of each, then run k + 1.
[ -n "${SUMMARY_ONLY:-}" ] && RUNS=0 EZDXF_RUNS=0
[ -n "${SUMMARY_ONLY:-}" ] || rm -f "$WORK"/times-*.txt
most=$RUNS
[ "$EZDXF_RUNS" -gt "$most" ] && most=$EZDXF_RUNS
for ((run = 1; run <= most; run++)); do
  for ((i = 0; i < ${#commands[@]}; i++)); do
    IFS='|' read -r name runs command <<<"${commands[$i]}"
    [ "$run" -le "$runs" ] || continue
    # Wall, user and system seconds, peak resident KiB.
    /usr/bin/time -f "%e %U %S %M" -o "$WORK/time.txt" $command >/dev/null 2>"$WORK/stderr.txt"
    # (GNU time writes a line of its own before them when the status is not 0.)
    tail -n 1 "$WORK/time.txt" >>"$WORK/times-$i.txt"
  done
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo "drawing: $BYTES bytes; medians (ezdxf and big.dxf: fewer runs); wall / user / system seconds;"
echo "peak RSS; x floor: wall time over the copy floor's; x size: peak RSS over the input's size"
floor_wall=
printf '%-44s %8s %8s %8s %10s %8s %8s\n' command wall user system "peak MiB" "x floor" "x size"
for ((i = 0; i < ${#commands[@]}; i++)); do
  IFS='|' read -r name runs command <<<"${commands[$i]}"
  file=$WORK/times-$i.txt
  wall=$(awk '{print $1}' "$file" | median)
  user=$(awk '{print $2}' "$file" | median)
  system=$(awk '{print $3}' "$file" | median)
  peak=$(awk '{print $4}' "$file" | sort -n | tail -1)
  [ -z "$floor_wall" ] && floor_wall=$wall
  input=$DRAWING
  case $command in *big.dxf*) input=$WORK/big.dxf ;; esac
  awk -v name="$name" -v wall="$wall" -v user="$user" -v sys="$system" \
      -v peak="$peak" -v floor="$floor_wall" -v bytes="$(stat -c %s "$input")" 'BEGIN {
    printf "%-44s %8.2f %8.2f %8.2f %10.1f %8.1f %8.2f\n", name, wall, user, sys,
           peak / 1024, wall / floor, peak * 1024 / bytes }'
done
if [ -n "$OTHER" ]; then
  cmp "$WORK/out-tool.dxf" "$WORK/out-other.dxf" && cmp "$WORK/out-join.dxf" "$WORK/out-other-join.dxf" &&
    echo "OTHER wrote the same bytes"
fi
