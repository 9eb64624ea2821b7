#include "driver/tcopy.h"

#include "platform/file_names.h"
#include "platform/out_stream.h"
#include "platform/text_reader.h"

namespace {

TcopyResult Fail(DrawingState& s, const char* what, const char* name,
                 uint32_t count) {
  FileMessage(s, what, name);
  return TcopyResult{count, -1};
}

}  // namespace

void FileMessage(DrawingState& s, const char* what, const char* name) {
  s.err->Str(what);
  s.err->Str(name);
  s.err->Str(" \n");
}

TcopyResult Tcopy(DrawingState& s, const std::string& dir, const char* from,
                  const char* to, uint32_t limit) {
  std::unique_ptr<platform::TextReader> in =
      platform::TextReader::OpenFile(platform::ResolvePath(dir, from));
  if (!in) return Fail(s, "Cannot open file: ", from, 0);
  std::unique_ptr<platform::OutStream> out =
      platform::OutStream::OpenFile(platform::ResolvePath(dir, to));
  if (!out) return Fail(s, "Cannot open file: ", to, 0);

  platform::Piece piece;
  uint32_t count = 0;
  while (!in->eof() && (limit == 0 || count < limit)) {
    if (!in->ReadPiece(&piece)) break;
    ++count;
    out->Write(piece.data, piece.size);
  }
  bool wrote = out->Close();
  bool read_ok = !in->error();
  in->Close();
  if (!read_ok) return Fail(s, "Cannot read file: ", from, count);
  if (limit == 0 && !wrote) return Fail(s, "Cannot write file: ", to, count);
  return TcopyResult{count, 0};
}
