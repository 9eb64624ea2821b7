#include "driver/line_copy.h"

namespace driver {

namespace {

LineCopy Fail(platform::OutStream& errors, const char* what, const char* name,
              uint32_t count) {
  FileMessage(errors, what, name);
  return LineCopy{count, -1};
}

}  // namespace

void FileMessage(platform::OutStream& errors, const char* what,
                 const char* name) {
  errors.Str(what);
  errors.Str(name);
  errors.Str(" \n");
}

LineCopy CopyLines(platform::HostFolder& folder, const char* from,
                   const char* to, uint32_t limit,
                   platform::OutStream& errors) {
  std::unique_ptr<platform::TextReader> in = folder.OpenForReading(from);
  if (!in) return Fail(errors, "Cannot open file: ", from, 0);
  std::unique_ptr<platform::OutStream> out = folder.OpenForWriting(to);
  if (!out) return Fail(errors, "Cannot open file: ", to, 0);

  platform::Piece piece;
  uint32_t count = 0;
  while (!in->eof() && (limit == 0 || count < limit)) {
    if (!in->ReadPiece(&piece)) break;
    ++count;
    out->Write(piece.data, piece.size);
  }
  bool wrote = out->Close();
  bool read_ok = !in->error();
  // Every byte wanted was read: a failed close of a file only read loses
  // nothing, so it is no failure of the copy.
  in->Close();
  if (!read_ok) return Fail(errors, "Cannot read file: ", from, count);
  if (limit == 0 && !wrote) return Fail(errors, "Cannot write file: ", to, count);
  return LineCopy{count, 0};
}

}  // namespace driver
