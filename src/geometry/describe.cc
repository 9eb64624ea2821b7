#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/number_format.h"
#include "rrensen/fillet.h"

namespace rrensen {
inline namespace v1 {
namespace {

/// A length with three decimals.
std::string Length(double value) { return platform::FixedText(value, 3); }

/// "point N", numbered from 1.
std::string PointName(int index) { return "point " + std::to_string(index + 1); }

}  // namespace

std::string Describe(const Problem& problem) {
  const std::string at = PointName(problem.point);
  switch (problem.kind) {
    case Refusal::kNone: return "";
    case Refusal::kInvalidSize:
      return "the fillet size is not a finite number of 0 or more";
    case Refusal::kNoCorner:
      return "there are fewer than three points once the outline is closed";
    case Refusal::kNotFinite: return at + " is not a finite number";
    case Refusal::kShortSide:
      return "the side from " + at + " to " + PointName(problem.next_point) +
             " is " + Length(problem.found) + " long and needs " +
             Length(problem.needed);
    case Refusal::kSharpCorner:
      return "the corner at " + at + " turns too sharply: a side of " +
             Length(problem.found) + " needs " + Length(problem.needed);
    case Refusal::kReversal:
      return "the corner at " + at + " turns exactly back on itself";
    case Refusal::kCornerNotFinite:
      return "the corner at " + at + " gives a value that is not a finite number";
    case Refusal::kCoincidentPoints:
      return at + " and " + PointName(problem.next_point) +
             " lie on one spot: the side between them has no direction";
    case Refusal::kInvalidStyle:
      return "the corner style is not one of the styles the library knows";
    case Refusal::kNoToolSide:
      return "the outline has no inside (it is open, or goes round as much "
             "one way as the other), and so no side for the cutter";
  }
  return "";
}

const char* RefusalCode(Refusal kind) {
  switch (kind) {
    case Refusal::kNone: return "none";
    case Refusal::kInvalidSize: return "invalid_size";
    case Refusal::kNoCorner: return "no_corner";
    case Refusal::kNotFinite: return "not_finite";
    case Refusal::kShortSide: return "short_side";
    case Refusal::kSharpCorner: return "sharp_corner";
    case Refusal::kReversal: return "reversal";
    case Refusal::kCornerNotFinite: return "corner_not_finite";
    case Refusal::kCoincidentPoints: return "coincident_points";
    case Refusal::kInvalidStyle: return "invalid_style";
    case Refusal::kNoToolSide: return "no_tool_side";
  }
  return "unknown";
}

namespace {

/// The name of `value` in `names`; "unknown" for a value not there.
template <typename T, size_t N>
const char* NameIn(const std::pair<T, const char*> (&names)[N], T value) {
  for (const auto& [named, name] : names) {
    if (named == value) return name;
  }
  return "unknown";
}

/// The value named `name` in `names`; none for any other text.
template <typename T, size_t N>
std::optional<T> ValueIn(const std::pair<T, const char*> (&names)[N],
                         std::string_view name) {
  for (const auto& [value, value_name] : names) {
    if (name == value_name) return value;
  }
  return std::nullopt;
}

/// Every style with its name, in the order of the enumeration.
constexpr std::pair<CornerStyle, const char*> kStyleNames[] = {
    {CornerStyle::kChordArc, "chord"},
    {CornerStyle::kRadiusArc, "radius"},
    {CornerStyle::kDistanceChamfer, "chamfer"},
    {CornerStyle::kChordChamfer, "chord-chamfer"},
    {CornerStyle::kDogbone, "dogbone"},
    {CornerStyle::kTBone, "tbone"},
};

constexpr std::pair<CornerSelection, const char*> kSelectionNames[] = {
    {CornerSelection::kAll, "all"},
    {CornerSelection::kConvex, "convex"},
    {CornerSelection::kConcave, "concave"},
};

}  // namespace

const char* CornerStyleName(CornerStyle style) { return NameIn(kStyleNames, style); }

std::optional<CornerStyle> CornerStyleNamed(std::string_view name) {
  return ValueIn(kStyleNames, name);
}

const char* CornerSelectionName(CornerSelection corners) {
  return NameIn(kSelectionNames, corners);
}

std::optional<CornerSelection> CornerSelectionNamed(std::string_view name) {
  return ValueIn(kSelectionNames, name);
}

}  // namespace v1
}  // namespace rrensen
