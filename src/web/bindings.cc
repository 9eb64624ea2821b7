// The WebAssembly module's interface to JavaScript (embind): the page API
// of page_api.h over JavaScript values. Bytes come in as a Uint8Array (or a
// string, taken as UTF-8) and go out as a Uint8Array of their own; the rest
// as numbers, strings and JSON text. web/api.js wraps it as globalThis.rrensen.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

/// How a member of the options object sets rrensen-dxf's options: one row
/// for each option of rrensen-dxf that the page passes on. `apply` returns
/// what is wrong with the value, or an empty string.
struct DxfOptionField {
  const char* key;
  std::string (*apply)(const val& value, web::DxfOptions& options);
};

const DxfOptionField kDxfOptionFields[] = {
    {"size",
     [](const val& value, web::DxfOptions& o) {
       o.size = value.as<double>();
       return std::string();
     }},
    {"layer",
     [](const val& value, web::DxfOptions& o) {
       o.layer = value.as<std::string>();
       return std::string();
     }},
    {"closeGap",
     [](const val& value, web::DxfOptions& o) {
       o.close_gap = value.as<double>();
       return std::string();
     }},
    {"style",
     [](const val& value, web::DxfOptions& o) {
       const std::string name = value.as<std::string>();
       const std::optional<rrensen::CornerStyle> style = rrensen::CornerStyleNamed(name);
       if (style) o.style = *style;
       return style ? std::string()
                    : "unknown style '" + name + "' (chord, radius, chamfer or chord-chamfer)";
     }},
    {"join",
     [](const val& value, web::DxfOptions& o) {
       o.join = value.as<bool>();
       return std::string();
     }},
};

/// Whether a member of the options object is given at all: one that is
/// undefined, null, false or "" is not (0 is: a gap of 0 closes).
bool Given(const val& value) {
  return !(value.isUndefined() || value.isNull() || value.strictlyEquals(val(false)) ||
           value.strictlyEquals(val(std::string())));
}

/// Reads the options object; false, with `problem` said as rrensen-dxf
/// says it, when a member is wrong or names an option this build lacks.
bool ReadDxfOptions(const val& object, web::DxfOptions& options, std::string& problem) {
  if (object.isUndefined() || object.isNull()) return true;
  const std::vector<std::string> keys =
      emscripten::vecFromJSArray<std::string>(val::global("Object").call<val>("keys", object));
  for (const std::string& key : keys) {
    const val value = object[key];
    if (!Given(value)) continue;
    bool known = false;
    for (const DxfOptionField& field : kDxfOptionFields) {
      if (key != field.key) continue;
      known = true;
      const std::string wrong = field.apply(value, options);
      if (!wrong.empty()) {
        problem = "rrensen-dxf: " + wrong + "\n";
        return false;
      }
    }
    if (!known) {
      problem = "rrensen-dxf: this build has no option '" + key + "'\n";
      return false;
    }
  }
  return true;
}

/// The keys of the options object that this build reads.
val DxfOptionKeys() {
  val keys = val::array();
  for (const DxfOptionField& field : kDxfOptionFields) keys.call<void>("push", val(field.key));
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
  web::DxfOptions options;
  std::string problem;
  val result = val::object();
  if (!ReadDxfOptions(options_object, options, problem)) {
    result.set("dxf", Bytes(""));
    result.set("report", std::string());
    result.set("errors", problem);
    result.set("status", 2);
    return result;
  }
  const web::DxfRun run = web::FilletDxf(input, options);
  result.set("dxf", Bytes(run.dxf));
  result.set("report", run.report);
  result.set("errors", run.errors);
  result.set("status", run.status);
  return result;
}

/// {json, after}: FilletJson's text and the new vertices.
val DocumentFillet(const web::DxfDocument& document, const val& options_object) {
  web::DxfOptions options;
  std::string problem;
  ReadDxfOptions(options_object, options, problem);
  std::vector<double> after;
  val result = val::object();
  result.set("json", document.FilletJson(options, after));
  result.set("after", Doubles(after));
  return result;
}

std::string DocumentPolylines(const web::DxfDocument& document) { return document.PolylinesJson(); }
val DocumentVertices(const web::DxfDocument& document) { return Doubles(document.Vertices()); }

double DocumentLargestSize(const web::DxfDocument& document, int index,
                           const val& options_object) {
  web::DxfOptions options;
  std::string problem;
  ReadDxfOptions(options_object, options, problem);
  return document.LargestSize(index, options);
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
