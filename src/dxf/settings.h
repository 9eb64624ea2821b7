#ifndef RRENSEN_DXF_SETTINGS_H_
#define RRENSEN_DXF_SETTINGS_H_

/// What rrensen-dxf is asked to do to a drawing: one type for every face.
/// The command line, the page and the Python module each read their own
/// form of an option (a word, a JavaScript value, a keyword argument) into
/// an OptionValue and hand it to SetOption, which holds the checks; each
/// face says a refusal in its own way (the usage text, status 2 with the
/// message, ValueError). The defaults are the members' initial values.

#include <optional>
#include <string>
#include <string_view>

#include "rrensen/fillet.h"
#include "rrensen/recut.h"

namespace dxf {

/// The fillet size when none is given, in drawing units.
constexpr double kDefaultSize = 5.0;

/// The gap G up to which two ends count as meeting, in drawing units, when
/// --join is asked for without a gap: two ends meet when they are at most G
/// apart. It absorbs the rounding of the writer that computed the points
/// (an arc's ends come from its centre, radius and angles) and nothing more.
constexpr double kDefaultJoinGap = 1e-6;

/// The filleting asked for.
struct Settings {
  /// What each corner's cut measures (see rrensen::CornerStyle): finite, 0
  /// or more.
  double size = kDefaultSize;
  rrensen::CornerStyle style = rrensen::CornerStyle::kChordArc;
  /// Which corners are cut (rrensen::CornerSelection): convex and concave
  /// as each closed polyline goes round its region.
  rrensen::CornerSelection corners = rrensen::CornerSelection::kAll;
  /// For reliefs (dogbones, T-bones): the largest angle between the sides
  /// of a corner that gets one, in radians (the command line's in degrees),
  /// and which side holds a T-bone's centre.
  double relief_max_angle = rrensen::kDefaultReliefMaxAngle;
  rrensen::TBoneSide tbone_side = rrensen::TBoneSide::kLonger;
  /// Where the cutter runs: not an option but the outline's place in the
  /// drawing (outside a part, inside a hole: see Nesting), set for each
  /// outline before it is planned.
  rrensen::ToolSide tool_side = rrensen::ToolSide::kOutside;
  /// Whether earlier cuts (fillets, and chamfers when their length is
  /// given) are turned back into sharp corners and cut anew
  /// (rrensen::RecutPolyline), and how they are told from the rest.
  bool refillet = false;
  rrensen::EarlierCuts earlier_cuts;
  /// Only polylines (and lines and arcs to join) on this layer, compared
  /// without regard to ASCII case; unset: every layer.
  std::optional<std::string> layer;
  /// When set, an open polyline of three or more vertices whose last vertex
  /// lies within this distance of its first (distance <= gap) is closed: its
  /// last vertex is dropped and its closed flag set.
  std::optional<double> close_gap;
  /// When set, the model-space LINE and ARC entities whose ends meet within
  /// this gap are chained into new polylines, which are filleted like the
  /// others.
  std::optional<double> join_gap;
};

/// The kinds of value an option takes.
enum class OptionKind {
  kNumber,  ///< a distance: finite, 0 or more
  kText,    ///< a name
  kSwitch,  ///< on when given
};

struct OptionValue;

/// One option of Settings, named as each face names it.
struct SettingOption {
  const char* flag;     ///< the command line's: "--close-gap"
  const char* key;      ///< the page's (a JavaScript member): "closeGap"
  const char* keyword;  ///< Python's keyword argument: "close_gap"
  OptionKind kind;
  /// Sets the option of `settings` to `value`: "" when it took it, else
  /// what is wrong with it. Called through SetOption.
  std::string (*set)(Settings& settings, const OptionValue& value);
};

/// Every option of Settings, in the order --help lists them.
extern const SettingOption kSettingOptions[];
extern const size_t kSettingOptionCount;

/// The option whose command-line flag, page key or Python keyword is
/// `name`; null for none.
const SettingOption* OptionByFlag(std::string_view name);
const SettingOption* OptionByKey(std::string_view name);
const SettingOption* OptionByKeyword(std::string_view name);

/// A value as a face read it.
struct OptionValue {
  /// kNumber: the number, NaN when the face's text does not read as one.
  double number = 0.0;
  /// kNumber: the value as the face shows it, for the message ("abc",
  /// "-1", "inf"); kText: the text.
  std::string text;
  /// kSwitch: whether it is on.
  bool on = false;
};

/// Sets `option` of `settings` to `value`. Returns "" when it took the
/// value; else, leaving `settings` as they were, what is wrong with it, a
/// sentence every face shows as it is. Joining is on when --join is given
/// (with kDefaultJoinGap, unless a gap was given) or when a join gap is;
/// re-cutting when --refillet is, or any of the options that say how
/// earlier cuts are told.
std::string SetOption(Settings& settings, const SettingOption& option,
                      const OptionValue& value);

/// The value of a kNumber option as the command line types it: the number
/// `text` reads as (NaN when none), and `text`.
OptionValue NumberText(std::string_view text);

}  // namespace dxf

#endif  // RRENSEN_DXF_SETTINGS_H_
