#include "state/drawing_state.h"

void PLreset(DrawingState& s) {
  s.iPL = 0;
  s.iPLcounter = 0;
  s.iKtensu = 0;
  s.KYleng = 0.0;
  s.iLengK = s.Period;
}
