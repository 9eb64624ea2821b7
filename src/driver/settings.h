#ifndef RRENSEN_DRIVER_SETTINGS_H_
#define RRENSEN_DRIVER_SETTINGS_H_

#include <cstdint>

namespace driver {

/// The host's command line takes fillet sizes below this: `-c` with a larger
/// size keeps the size it had. The preview searches sizes below it too.
constexpr double kFilletSizeLimit = 20.0;

/// What the command line sets for a run.
struct Settings {
  /// "c": the distance between the two cut points of every corner.
  double fillet_size = 5.0;
  /// "t": 0 in normal use; 1 to 6 keep both files and add debug output.
  int32_t debug_level = 0;
  /// "a": the host's scale colour, 7 or the value's remainder by 9. Only
  /// the level-3 option trace shows it ("wSCLR").
  int32_t scale_colour = 0;
};

}  // namespace driver

#endif  // RRENSEN_DRIVER_SETTINGS_H_
