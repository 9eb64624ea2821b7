# rrensen-dxf as a script runs it: exit statuses 0, 1 and 2, what each one
# writes (the drawing with -o or on standard output, the report), and
# --dry-run, which writes no drawing and gives the same status. Needs no
# DXF library: the files are written here.
#
# usage: cmake -DTOOL=path/to/rrensen-dxf -DWORK=scratch-folder -P dxf_cli_test.cmake

if(NOT TOOL OR NOT WORK)
  message(FATAL_ERROR "usage: cmake -DTOOL=rrensen-dxf -DWORK=folder -P dxf_cli_test.cmake")
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

set(failures 0)
macro(fail message)
  message(SEND_ERROR "${message}")
  math(EXPR failures "${failures} + 1")
endmacro()

function(drawing path entities)
  file(WRITE "${path}" "  0\nSECTION\n  2\nENTITIES\n${entities}  0\nENDSEC\n  0\nEOF\n")
endfunction()

function(lwpolyline out handle closed)
  set(text "  0\nLWPOLYLINE\n  5\n${handle}\n  8\n0\n 90\n0\n 70\n${closed}\n")
  foreach(xy IN LISTS ARGN)
    string(REPLACE "," ";" xy "${xy}")
    list(GET xy 0 x)
    list(GET xy 1 y)
    string(APPEND text " 10\n${x}\n 20\n${y}\n")
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

lwpolyline(square 2A 1 0,0 100,0 100,100 0,100)
lwpolyline(tight 2B 0 0,0 100,0 100,3)
drawing("${WORK}/good.dxf" "${square}")
drawing("${WORK}/tight.dxf" "${square}${tight}")
drawing("${WORK}/none.dxf" "  0\nLINE\n  8\n0\n")
# Line 8 holds an x that is not a number.
drawing("${WORK}/bad.dxf" "  0\nLWPOLYLINE\n 10\nx\n")

# name | expected status | whether -o's file and the report are written |
# the arguments (OUT and REPORT stand for the two paths).
set(cases
  "all filleted|0|1|1|good.dxf -o OUT --report REPORT"
  "nothing to fillet|0|1|1|none.dxf -o OUT --report REPORT"
  "one left unchanged|1|1|1|tight.dxf -o OUT --report REPORT"
  "dry run, all filleted|0|0|1|good.dxf --dry-run -o OUT --report REPORT"
  "dry run, one left|1|0|1|tight.dxf --dry-run -o OUT --report REPORT"
  "size 1000 is no usage error|1|1|1|good.dxf -c 1000 -o OUT --report REPORT"
  "size 0 fillets every polyline|0|1|1|tight.dxf -c 0 -o OUT --report REPORT"
  "no polyline on the layer|0|1|1|tight.dxf --layer nosuchlayer -o OUT --report REPORT"
  "negative size|2|0|0|good.dxf -c -1 -o OUT --report REPORT"
  "size not a number|2|0|0|good.dxf -c nan -o OUT --report REPORT"
  "size infinite|2|0|0|good.dxf -c inf -o OUT --report REPORT"
  "gap NaN|2|0|0|good.dxf --close-gap nan -o OUT --report REPORT"
  "negative gap|2|0|0|good.dxf --close-gap -2 -o OUT --report REPORT"
  "gap not a number|2|0|0|good.dxf --close-gap wide -o OUT --report REPORT"
  "join, nothing to join|0|1|1|good.dxf --join -o OUT --report REPORT"
  "join gap of 0|0|1|1|good.dxf --join-gap 0 -o OUT --report REPORT"
  "negative join gap|2|0|0|good.dxf --join-gap -1e-6 -o OUT --report REPORT"
  "join gap NaN|2|0|0|good.dxf --join-gap nan -o OUT --report REPORT"
  "join gap not a number|2|0|0|good.dxf --join-gap near -o OUT --report REPORT"
  "unknown option|2|0|0|good.dxf --fillet-all -o OUT --report REPORT"
  "unknown style|2|0|0|good.dxf --style round -o OUT --report REPORT"
  "missing file|2|0|0|missing.dxf -o OUT --report REPORT"
  "malformed file|2|0|0|bad.dxf -o OUT --report REPORT"
)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 status)
  list(GET fields 2 writes_drawing)
  list(GET fields 3 writes_report)
  list(GET fields 4 words)
  separate_arguments(args UNIX_COMMAND "${words}")
  set(out "${WORK}/out.dxf")
  set(report "${WORK}/report.jsonl")
  file(REMOVE "${out}" "${report}")
  list(TRANSFORM args REPLACE "^OUT$" "${out}")
  list(TRANSFORM args REPLACE "^REPORT$" "${report}")
  list(TRANSFORM args REPLACE "^(.*\\.dxf)$" "${WORK}/\\1" REGEX "^[a-z]+\\.dxf$")
  execute_process(COMMAND "${TOOL}" ${args} RESULT_VARIABLE got
                  OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  if(NOT got EQUAL status)
    fail("${name}: exit ${got}, expected ${status}\n${stderr}")
  endif()
  set(drawing_path "${out}")
  set(report_path "${report}")
  foreach(what drawing report)
    set(path "${${what}_path}")
    if(EXISTS "${path}" AND NOT writes_${what})
      fail("${name}: the ${what} was written")
    elseif(NOT EXISTS "${path}" AND writes_${what})
      fail("${name}: the ${what} was not written")
    endif()
  endforeach()
  if(name STREQUAL "malformed file" AND NOT stderr MATCHES "bad\\.dxf:8: not a readable ASCII DXF")
    fail("${name}: the message does not name line 8: ${stderr}")
  endif()
endforeach()

# At 60 no polyline fits: the whole file is written as it was.
execute_process(COMMAND "${TOOL}" -c 60 "${WORK}/tight.dxf" -o "${WORK}/out.dxf"
                RESULT_VARIABLE got)
file(READ "${WORK}/tight.dxf" before)
file(READ "${WORK}/out.dxf" after)
if(NOT got EQUAL 1 OR NOT before STREQUAL after)
  fail("-c 60: exit ${got}; the drawing changed though nothing was filleted")
endif()
# Without -o the drawing goes to standard output, filleted (arcs as bulges).
execute_process(COMMAND "${TOOL}" "${WORK}/good.dxf" RESULT_VARIABLE got
                OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
if(NOT got EQUAL 0 OR NOT stdout MATCHES "LWPOLYLINE.* 42\n0\\.414")
  fail("standard output: exit ${got}: ${stdout}")
endif()
# The report: one JSON line for each polyline.
execute_process(COMMAND "${TOOL}" "${WORK}/tight.dxf" --dry-run --report "${WORK}/r.jsonl"
                RESULT_VARIABLE got)
file(STRINGS "${WORK}/r.jsonl" lines)
list(LENGTH lines count)
if(NOT count EQUAL 2 OR NOT lines MATCHES "\"handle\":\"2B\".*\"status\":\"unchanged\"")
  fail("the report: ${lines}")
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} failed")
endif()
message("rrensen-dxf command line: all passed")
