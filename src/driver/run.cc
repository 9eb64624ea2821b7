#include "driver/run.h"

#include <memory>

#include "driver/options.h"
#include "driver/process.h"
#include "driver/tcopy.h"
#include "platform/file_names.h"
#include "platform/out_stream.h"
#include "platform/text_reader.h"

namespace {

// The protocol's fixed file names, in the working directory.
constexpr const char* kHostName = "kdx_temp.txt";
constexpr const char* kStep1Name = "KDX_x2x2.$$";
constexpr const char* kStep2Name = "KDX_x2x2.$$$";
constexpr const char* kExchangeName = "KDX_TEMP.TXT";
constexpr const char* kScratchName = "KDX_TEMP.$$$";

// Message texts; the Japanese parts are Shift-JIS bytes.
constexpr const char* kOverLimit =
    "he  "
    "\x97\x76\x91\x66\x90\x94\x83\x49\x81\x5b\x83\x6f\x81\x5b"  // 要素数オーバー
    "    MAX=";

}  // namespace

int RunTool(DrawingState& s, int argc, const char* const* argv,
            const std::string& dir) {
  s.PAI = kDriverPAI;
  s.gomi = 0.0002;
  platform::ForgetListing();
  for (int k = 1; k < argc && argv[k] != nullptr; ++k) {
    if (argv[k][0] == '-' || argv[k][0] == '/') opt(s, argv[k]);
  }
  if (s.isTest == 2) s.out->Str("\n\n#### debug #### Cmd-Option read\n");

  // Bring the exchange file to its one fixed name. A rename replaces an
  // existing target, so a name left over by a crashed run cannot stand in
  // for the host's file.
  if (platform::RenameReplacing(dir, kHostName, kStep1Name)) {
    platform::RenameReplacing(dir, kStep1Name, kStep2Name);
    platform::RenameReplacing(dir, kStep2Name, kExchangeName);
  }

  TcopyResult counted = Tcopy(s, dir, kExchangeName, kScratchName, kCountLimit);
  if (counted.status != 0) return counted.status;
  const unsigned int jd_xmax = counted.count;
  if (s.isTest == 2) s.out->Str("#  copyed to KDX_TEMP.$$$ \n");

  std::unique_ptr<platform::OutStream> fpw =
      platform::OutStream::OpenFile(platform::ResolvePath(dir, kScratchName));
  if (!fpw) {
    FileMessage(s, "Cannot open file: ", kScratchName);
    return 1;
  }
  s.fpw = fpw.get();
  if (jd_xmax > kJdLimit) {
    fpw->Str(kOverLimit);
    fpw->Unsigned(kJdLimit);
    fpw->Chr('\n');
    fpw->Close();
    return 1;
  }
  std::unique_ptr<platform::TextReader> fp =
      platform::TextReader::OpenFile(platform::ResolvePath(dir, kExchangeName));
  if (!fp) {
    FileMessage(s, "Cannot open file: ", kExchangeName);
    fpw->Close();
    return 1;
  }
  s.fp = fp.get();

  if (!ProcessExchange(s, jd_xmax)) {
    // A short input is never taken as whole: the host keeps its file.
    FileMessage(s, "Cannot read file: ", kExchangeName);
    fpw->Close();
    return 1;
  }

  fp->Close();
  bool written = fpw->Close();
  s.fp = nullptr;
  s.fpw = nullptr;
  if (!written) {
    // The output is incomplete: leave the host's file as it was.
    FileMessage(s, "Cannot write file: ", kScratchName);
    return 1;
  }
  if (s.isTest == 0) {
    TcopyResult back = Tcopy(s, dir, kScratchName, kExchangeName, 0);
    if (back.status != 0) return back.status;
    platform::RemoveFile(dir, kScratchName);
  }
  return 0;
}
