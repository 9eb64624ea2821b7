#ifndef RRENSEN_DRIVER_SETTINGS_H_
#define RRENSEN_DRIVER_SETTINGS_H_

#include <cstdint>

namespace driver {

/// Settings that the host's command line passes and the tool accepts only
/// for the host's sake: the host passes them to all its helpers alike, and
/// nothing in this tool reads them, except the scale colour, which the
/// level-3 option trace shows.
struct HostOnlySettings {
  int32_t scale_colour = 0;  ///< "a": 7, or the value's remainder by 9
  int32_t kind = 0;          ///< "e": the value's remainder by 10
  int32_t kind_colour = 0;   ///< "e": the value's quotient by 10
  int32_t pen1 = 3;          ///< "g": 0 to 10
  int32_t pen2 = 1;          ///< "h": 0 to 10
  int32_t mode = 0;          ///< "m": the value minus 1 when positive
  int32_t numbering = 0;     ///< "n": the value's remainder by 10
  int32_t text_width = 5;    ///< "w": at most 30
};

/// The host's command line takes fillet sizes below this: `-c` with a larger
/// size keeps the size it had. The preview searches sizes below it too.
constexpr double kFilletSizeLimit = 20.0;

/// What the command line sets for a run.
struct Settings {
  /// "c": the distance between the two cut points of every corner.
  double fillet_size = 5.0;
  /// "t": 0 in normal use; 1 to 6 keep both files and add debug output.
  int32_t debug_level = 0;
  HostOnlySettings host;
};

}  // namespace driver

#endif  // RRENSEN_DRIVER_SETTINGS_H_
