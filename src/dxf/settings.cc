#include "dxf/settings.h"

#include <cmath>
#include <limits>
#include <utility>

#include "dxf/number_text.h"

namespace dxf {
namespace {

constexpr double kPi = 3.141592653589793;

/// Reads a distance, a finite number of 0 or more, into `field`; `what`
/// names it in the message.
std::string SetDistance(double& field, const char* what,
                        const OptionValue& value) {
  if (!std::isfinite(value.number) || !(value.number >= 0.0)) {
    return std::string(what) + " must be a finite number of 0 or more, not '" +
           value.text + "'";
  }
  field = value.number;
  return "";
}

std::string SetOptionalDistance(std::optional<double>& field, const char* what,
                                const OptionValue& value) {
  double distance = 0.0;
  std::string wrong = SetDistance(distance, what, value);
  if (wrong.empty()) field = distance;
  return wrong;
}

/// Reads a measure of earlier cuts, which asks for re-cutting them.
std::string SetRecutDistance(Settings& settings, double& field, const char* what,
                             const OptionValue& value) {
  std::string wrong = SetDistance(field, what, value);
  if (wrong.empty()) settings.refillet = true;
  return wrong;
}

template <typename Name>
const SettingOption* Find(std::string_view name, Name name_of) {
  for (size_t i = 0; i < kSettingOptionCount; ++i) {
    if (name == name_of(kSettingOptions[i])) return &kSettingOptions[i];
  }
  return nullptr;
}

}  // namespace

const SettingOption kSettingOptions[] = {
    {"-c", "size", "size", OptionKind::kNumber,
     [](Settings& s, const OptionValue& v) {
       return SetDistance(s.size, "the fillet size", v);
     }},
    {"--style", "style", "style", OptionKind::kText,
     [](Settings& s, const OptionValue& v) -> std::string {
       const std::optional<rrensen::CornerStyle> style =
           rrensen::CornerStyleNamed(v.text);
       if (!style) {
         return "unknown style '" + v.text +
                "' (chord, radius, chamfer, chord-chamfer, dogbone or tbone)";
       }
       s.style = *style;
       return "";
     }},
    {"--corners", "corners", "corners", OptionKind::kText,
     [](Settings& s, const OptionValue& v) -> std::string {
       const std::optional<rrensen::CornerSelection> corners =
           rrensen::CornerSelectionNamed(v.text);
       if (!corners) {
         return "unknown corners '" + v.text + "' (all, convex or concave)";
       }
       s.corners = *corners;
       return "";
     }},
    {"--max-angle", "maxAngle", "max_angle", OptionKind::kNumber,
     [](Settings& s, const OptionValue& v) -> std::string {
       if (!(v.number > 0.0 && v.number <= 180.0)) {
         return "the largest angle must be a number of degrees above 0 and at "
                "most 180, not '" + v.text + "'";
       }
       s.relief_max_angle = v.number * kPi / 180.0;
       return "";
     }},
    {"--tbone-side", "tboneSide", "tbone_side", OptionKind::kText,
     [](Settings& s, const OptionValue& v) -> std::string {
       const std::pair<const char*, rrensen::TBoneSide> sides[] = {
           {"longer", rrensen::TBoneSide::kLonger},
           {"shorter", rrensen::TBoneSide::kShorter},
           {"first", rrensen::TBoneSide::kFirst},
           {"second", rrensen::TBoneSide::kSecond}};
       for (const auto& [name, side] : sides) {
         if (v.text == name) {
           s.tbone_side = side;
           return "";
         }
       }
       return "unknown T-bone side '" + v.text +
              "' (longer, shorter, first or second)";
     }},
    {"--close-gap", "closeGap", "close_gap", OptionKind::kNumber,
     [](Settings& s, const OptionValue& v) {
       return SetOptionalDistance(s.close_gap, "the gap", v);
     }},
    {"--join", "join", "join", OptionKind::kSwitch,
     [](Settings& s, const OptionValue& v) {
       if (v.on && !s.join_gap) s.join_gap = kDefaultJoinGap;
       return std::string();
     }},
    {"--join-gap", "joinGap", "join_gap", OptionKind::kNumber,
     [](Settings& s, const OptionValue& v) {
       return SetOptionalDistance(s.join_gap, "the join gap", v);
     }},
    {"--refillet", "refillet", "refillet", OptionKind::kSwitch,
     [](Settings& s, const OptionValue& v) {
       if (v.on) s.refillet = true;
       return std::string();
     }},
    {"--rechamfer", "rechamfer", "rechamfer", OptionKind::kNumber,
     [](Settings& s, const OptionValue& v) {
       return SetRecutDistance(s, s.earlier_cuts.chamfer_max_length,
                               "the longest chamfer", v);
     }},
    {"--refillet-max-radius", "refilletMaxRadius", "refillet_max_radius",
     OptionKind::kNumber,
     [](Settings& s, const OptionValue& v) {
       return SetRecutDistance(s, s.earlier_cuts.largest_radius,
                               "the largest radius", v);
     }},
    {"--tangent-tolerance", "tangentTolerance", "tangent_tolerance",
     OptionKind::kNumber,
     [](Settings& s, const OptionValue& v) {
       return SetRecutDistance(s, s.earlier_cuts.tangent_tolerance,
                               "the tangent tolerance", v);
     }},
    {"--layer", "layer", "layer", OptionKind::kText,
     [](Settings& s, const OptionValue& v) {
       s.layer = v.text;
       return std::string();
     }},
};
const size_t kSettingOptionCount =
    sizeof kSettingOptions / sizeof kSettingOptions[0];

const SettingOption* OptionByFlag(std::string_view name) {
  return Find(name, [](const SettingOption& o) { return o.flag; });
}

const SettingOption* OptionByKey(std::string_view name) {
  return Find(name, [](const SettingOption& o) { return o.key; });
}

const SettingOption* OptionByKeyword(std::string_view name) {
  return Find(name, [](const SettingOption& o) { return o.keyword; });
}

std::string SetOption(Settings& settings, const SettingOption& option,
                      const OptionValue& value) {
  return option.set(settings, value);
}

OptionValue NumberText(std::string_view text) {
  OptionValue value;
  value.text = std::string(text);
  if (!ParseReal(text, value.number)) {
    value.number = std::numeric_limits<double>::quiet_NaN();
  }
  return value;
}

}  // namespace dxf
