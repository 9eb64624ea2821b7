#include "reader/exchange_reader.h"

#include "reader/scan.h"

namespace reader {

namespace {

/// The character at `pos`, or -1 past the end of the line: a key test never
/// sees what an earlier, longer line left behind.
int At(std::string_view line, size_t pos) {
  return pos < line.size() ? static_cast<unsigned char>(line[pos]) : -1;
}

/// The first record of a kind fixes the captured value (see attributes.h).
void Capture(int32_t current, int32_t* captured) {
  if (NotCapturedYet(*captured)) *captured = current;
}

/// Takes the records of one exchange file into its contents.
class Reader {
 public:
  Reader(const ReadOptions& options, platform::OutStream& console,
         ExchangeContents* contents)
      : options_(options), console_(console), c_(*contents) {}

  /// Handles one line (one piece of at most 254 characters) that is not
  /// passed through, by its record key. Keys the table does not list, and
  /// the records the host writes for its own sake (text, circles, scales,
  /// text-style tables, "cc", "pt", "pl", "z"), are read past.
  void Record(std::string_view line) {
    switch (At(line, 0)) {
      case ' ': LineRecord(line); break;
      case 'c':
        if (At(line, 1) == 'n') TextStyleRecord(line);
        break;
      case 'h': HostRecord(line); break;
      case 'l': LayerRecord(line); break;
      case 'p':
        if (At(line, 1) == 'n') {
          CurrentAttributes& a = c_.attributes.current;
          scan::Scan(line, 2, "%x", {&a.pn_value});
          Capture(a.pn_value, &c_.attributes.captured.pn_value);
        }
        break;
      default: break;
    }
  }

 private:
  /// " x1 y1 x2 y2": a line of the host's drawing; only whether its ends
  /// differ matters here.
  void LineRecord(std::string_view line) {
    reader::LineRecord& l = c_.last_line;
    scan::Scan(line, 1, "%lf %lf %lf %lf", {&l.x1, &l.y1, &l.x2, &l.y2});
    if (!(l.x1 == l.x2 && l.y1 == l.y2)) c_.stage = 3;
  }

  /// "cn0 w h d colour" (the free style) or "cn<n>" (a numbered style);
  /// "cn\"" is read past.
  void TextStyleRecord(std::string_view line) {
    CurrentAttributes& a = c_.attributes.current;
    CapturedAttributes& captured = c_.attributes.captured;
    int c2 = At(line, 2);
    if (c2 == '0') {
      a.text_style = 0;
      FreeTextStyle& f = a.free_style;
      scan::Scan(line, 3, "%lf %lf %lf %d",
                 {&f.width, &f.height, &f.depth, &f.colour});
      if (NotCapturedYet(captured.text_style)) {
        captured.text_style = 0;
        captured.free_style = f;
      }
    } else if (c2 != '"') {
      scan::Scan(line, 2, "%d", {&a.text_style});
      Capture(a.text_style, &captured.text_style);
    }
  }

  /// "hq" and "hh?1" (stage markers) and "hp" (point records).
  void HostRecord(std::string_view line) {
    int c1 = At(line, 1);
    if (c1 == 'q') {
      c_.stage = 1;
    } else if (c1 == 'h') {
      if (At(line, 3) == '1') c_.stage = 2;
    } else if (c1 == 'p') {
      PointRecord(line);
    }
  }

  /// A point record: "hp", the number, one of the forms below, and the two
  /// coordinates.
  void PointRecord(std::string_view line) {
    int c3 = At(line, 3);
    size_t coords = 0;  // where the coordinates start
    const char* number_format = "%d";
    const char* debug = nullptr;  // the form's level-3 debug label
    if (c3 == ' ') {  // "hp1 x y"
      coords = 3;
      debug = "   ";
    } else if (c3 == '+') {  // "hp1+ x y"
      coords = 4;
    } else if (c3 == '/') {  // "hp1/ x y"
      coords = 4;
      debug = "/  ";
    } else if (c3 == '-') {  // "hp1- x y"
      coords = 4;
      number_format = "%d-";
      debug = "-  ";
    } else if (At(line, 4) == '-') {  // "hp12- x y": two digits only so
      coords = 5;
      number_format = "%d-";
    } else {
      return;
    }
    IndicatedPoints& p = c_.points;
    p.record_count += 1;
    scan::Scan(line, 2, number_format, {&p.last_number});
    // A number outside 0 to 19 is counted, and nothing is stored.
    const int32_t k = p.last_number;
    if (k < 0 || k > kHighestPointNumber) return;
    scan::Scan(line, coords, "%lf %lf", {&p.x[k], &p.y[k]});
    if (debug != nullptr && options_.debug_level == 3) {
      console_.Str("##  hp");
      console_.Int(k);
      console_.Str(debug);
      console_.Fixed(p.x[k], 6);
      console_.Chr(' ');
      console_.Fixed(p.y[k], 6);
      console_.Str(" \n");
    }
  }

  /// "lg" and "ly" (hexadecimal), "lt" and "lc" (decimal).
  void LayerRecord(std::string_view line) {
    CurrentAttributes& a = c_.attributes.current;
    CapturedAttributes& captured = c_.attributes.captured;
    switch (At(line, 1)) {
      case 'g':
        scan::Scan(line, 2, "%x", {&a.layer_group});
        Capture(a.layer_group, &captured.layer_group);
        break;
      case 'y':
        scan::Scan(line, 2, "%x", {&a.layer});
        Capture(a.layer, &captured.layer);
        break;
      case 't':
        scan::Scan(line, 2, "%d", {&a.line_type});
        Capture(a.line_type, &captured.line_type);
        break;
      case 'c':
        scan::Scan(line, 2, "%d", {&a.line_colour});
        Capture(a.line_colour, &captured.line_colour);
        break;
      default: break;
    }
  }

  const ReadOptions& options_;
  platform::OutStream& console_;
  ExchangeContents& c_;
};

}  // namespace

void ReadExchange(platform::TextReader& in, const ReadOptions& options,
                  platform::OutStream& pass_through,
                  platform::OutStream& console, ExchangeContents* contents,
                  const RecordHook& hook) {
  Reader reader(options, console, contents);
  platform::Piece buf;
  // True while the pieces of a long comment or "bz" line are still coming:
  // they pass through whole instead of being taken as records.
  bool passing = false;
  for (uint32_t line_number = 0; line_number != options.line_limit;
       ++line_number) {
    if (!in.ReadPiece(&buf)) break;
    std::string_view line = buf.view();
    if (options.debug_level == 3) {
      // "jd_x" is the line's number from 0, "jd_xmax" the driver's count.
      console.Str("## ---- KD_PATTERN()  kdx_temp.txt processing --------\n");
      console.Str("##  jd_x=");
      console.Unsigned(line_number);
      console.Chr('/');
      console.Unsigned(options.line_count);
      console.Str(" : jd_x/jd_xmax  jd_limit=");
      console.Unsigned(options.line_limit);
      console.Str("\n##  buf=(");
      console.Str(line);
      console.Str(")\n");
    }
    bool ends_line = !line.empty() && line.back() == '\n';
    bool comment = At(line, 0) == '#';
    bool bz = At(line, 0) == 'b' && At(line, 1) == 'z';
    if (passing || comment || bz) {
      pass_through.Str(line);
      passing = !ends_line;
    } else {
      reader.Record(line);
      if (hook) hook(line);
    }
  }
  // A passed-through line that the input did not end (the last line of the
  // file, or one cut by the limit) gets its line end, so that the records
  // written after it stay records of their own.
  if (passing) pass_through.Chr('\n');
}

}  // namespace reader
