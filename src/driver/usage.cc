#include "driver/usage.h"

namespace driver {

#ifndef RRENSEN_VERSION
#define RRENSEN_VERSION "unknown"
#endif

const char kVersionText[] = "rrensen " RRENSEN_VERSION "\n";

const char kUsageText[] =
    "usage: rrensen [OPTION...]\n"
    "\n"
    "Turns the points indicated in the host CAD program's exchange file into\n"
    "one polyline whose every corner is cut back so that its two cut points\n"
    "lie a fixed distance apart (the fillet size), closed by a tangent arc,\n"
    "or by a straight chord where the direction changes by 10 degrees or\n"
    "less. When the last point lies closer than twice the fillet size to the\n"
    "first, the outline is closed.\n"
    "\n"
    "The tool works on kdx_temp.txt in the current folder and takes no file\n"
    "argument: the host writes that file, starts the tool in its folder and\n"
    "reads the result back from KDX_TEMP.TXT (the same file on Windows).\n"
    "\n"
    "Options begin with - or /, the letter in either case, the value right\n"
    "behind it (-c2.5, /T2):\n"
    "  -cSIZE   fillet size: the distance between the two cut points of\n"
    "           every corner; below 20, default 5\n"
    "  -tN      debug level 1 to 6: keeps the input in KDX_TEMP.TXT and the\n"
    "           output in KDX_TEMP.$$$, and adds debug lines\n"
    "  -aN -eN -gN -hN -mN -nN -wN -bN -dN -fN\n"
    "           settings the host passes to all its helpers; accepted and\n"
    "           not used\n"
    "  --help     show this text and touch no file\n"
    "  --version  show the version and touch no file\n"
    "\n"
    "Exit status:\n"
    "  0   the run completed; a refused outline leaves a message record\n"
    "      (h# R_RENSEN ...) for the host in the output\n"
    "  1   more than 50000 lines, or the input could not be read or the\n"
    "      output written: the exchange file keeps the input\n"
    "  255 no exchange file, the line count's copy failed, or the output\n"
    "      could not be copied back (it is kept in KDX_TEMP.$$$)\n";

}  // namespace driver
