// The WebAssembly module's interface to JavaScript (embind): the page API
// of page_api.h over JavaScript values. Bytes come in as a Uint8Array (or a
// string, taken as UTF-8) and go out as a Uint8Array of their own; the rest
// as numbers, strings and JSON text. web/api.js wraps it as globalThis.rrensen.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dxf/settings.h"
#include "rrensen/fillet.h"
#include "rrensen/version.h"
#include "web/page_api.h"

namespace {

using emscripten::val;

/// A copy of `bytes` in a Uint8Array of JavaScript's own, which stays valid
/// when the module's memory grows.
val Bytes(const std::string& bytes) {
  return val(emscripten::typed_memory_view(
                 bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data())))
      .call<val>("slice");
}

/// A copy of `numbers` in a Float64Array of JavaScript's own.
val Doubles(const std::vector<double>& numbers) {
  return val(emscripten::typed_memory_view(numbers.size(), numbers.data())).call<val>("slice");
}

/// Whether a member of the options object is given at all: one that is
/// undefined, null, false or "" is not (0 is: a gap of 0 closes).
bool Given(const val& value) {
  return !(value.isUndefined() || value.isNull() || value.strictlyEquals(val(false)) ||
           value.strictlyEquals(val(std::string())));
}

/// Reads the options object into `settings`, each member through the option
/// of dxf::kSettingOptions with its key; "" when every member was taken,
/// else what is wrong, as rrensen-dxf says it.
std::string ReadSettings(const val& object, dxf::Settings& settings) {
  if (object.isUndefined() || object.isNull()) return "";
  const std::vector<std::string> keys =
      emscripten::vecFromJSArray<std::string>(val::global("Object").call<val>("keys", object));
  for (const std::string& key : keys) {
    const val value = object[key];
    if (!Given(value)) continue;
    const dxf::SettingOption* option = dxf::OptionByKey(key);
    if (option == nullptr) return "rrensen-dxf: this build has no option '" + key + "'\n";
    dxf::OptionValue read;
    read.text = val::global("String")(value).as<std::string>();
    switch (option->kind) {
      case dxf::OptionKind::kNumber:
        read.number = val::global("Number")(value).as<double>();
        break;
      case dxf::OptionKind::kSwitch: read.on = value.as<bool>(); break;
      case dxf::OptionKind::kText: break;
    }
    const std::string wrong = dxf::SetOption(settings, *option, read);
    if (!wrong.empty()) return "rrensen-dxf: " + wrong + "\n";
  }
  return "";
}

/// The keys of the options object that this build reads.
val DxfOptionKeys() {
  val keys = val::array();
  for (size_t i = 0; i < dxf::kSettingOptionCount; ++i) {
    keys.call<void>("push", val(dxf::kSettingOptions[i].key));
  }
  return keys;
}

val RunExchange(const std::string& input, const val& args) {
  std::vector<std::string> words;
  if (!args.isUndefined() && !args.isNull()) words = emscripten::vecFromJSArray<std::string>(args);
  const web::ExchangeRun run = web::RunExchange(input, words);
  val result = val::object();
  result.set("output", Bytes(run.output));
  result.set("console", run.console);
  result.set("errors", run.errors);
  result.set("status", run.status);
  return result;
}

val FilletDxf(const std::string& input, const val& options_object) {
  dxf::Settings settings;
  const std::string problem = ReadSettings(options_object, settings);
  val result = val::object();
  if (!problem.empty()) {
    result.set("dxf", Bytes(""));
    result.set("report", std::string());
    result.set("errors", problem);
    result.set("status", 2);
    return result;
  }
  const web::DxfRun run = web::FilletDxf(input, settings);
  result.set("dxf", Bytes(run.dxf));
  result.set("report", run.report);
  result.set("errors", run.errors);
  result.set("status", run.status);
  return result;
}

/// {json, after}, FilletJson's text and the new vertices; or {error}, what
/// filletDxf says of options it refuses.
val DocumentFillet(const web::DxfDocument& document, const val& options_object) {
  dxf::Settings settings;
  val result = val::object();
  const std::string problem = ReadSettings(options_object, settings);
  if (!problem.empty()) {
    result.set("error", problem);
    return result;
  }
  std::vector<double> after;
  result.set("json", document.FilletJson(settings, after));
  result.set("after", Doubles(after));
  return result;
}

std::string DocumentPolylines(const web::DxfDocument& document) { return document.PolylinesJson(); }
val DocumentVertices(const web::DxfDocument& document) { return Doubles(document.Vertices()); }

/// The largest size (LargestSize), or NaN for options filletDxf refuses.
double DocumentLargestSize(const web::DxfDocument& document, int index,
                           const val& options_object) {
  dxf::Settings settings;
  if (!ReadSettings(options_object, settings).empty()) return std::nan("");
  return document.LargestSize(index, settings);
}

std::string DocumentError(const web::DxfDocument& document) { return document.error(); }
int DocumentErrorLine(const web::DxfDocument& document) { return document.error_line(); }

std::string PreviewExchange(const std::string& input, const std::string& size_text,
                            const std::string& title) {
  return web::ExchangePreviewJson(input, size_text, title);
}

double LargestExchangeSize(const std::string& input) { return web::LargestExchangeSize(input); }

std::string Version() { return RRENSEN_VERSION_STRING; }

}  // namespace

EMSCRIPTEN_BINDINGS(rrensen) {
  emscripten::function("version", &Version);
  emscripten::function("runExchange", &RunExchange);
  emscripten::function("filletDxf", &FilletDxf);
  emscripten::function("dxfOptionKeys", &DxfOptionKeys);
  emscripten::function("previewExchange", &PreviewExchange);
  emscripten::function("largestExchangeSize", &LargestExchangeSize);
  emscripten::class_<web::DxfDocument>("DxfDocument")
      .constructor<std::string>()
      .function("error", &DocumentError)
      .function("errorLine", &DocumentErrorLine)
      .function("polylines", &DocumentPolylines)
      .function("vertices", &DocumentVertices)
      .function("fillet", &DocumentFillet)
      .function("largestSize", &DocumentLargestSize);
}
