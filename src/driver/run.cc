#include "driver/run.h"

#include <memory>

#include "driver/line_copy.h"
#include "driver/options.h"
#include "driver/process.h"
#include "platform/host_folder.h"

namespace {

// The protocol's fixed file names, in the working folder.
constexpr const char* kHostName = "kdx_temp.txt";
constexpr const char* kStep1Name = "KDX_x2x2.$$";
constexpr const char* kStep2Name = "KDX_x2x2.$$$";
constexpr const char* kExchangeName = "KDX_TEMP.TXT";
constexpr const char* kScratchName = "KDX_TEMP.$$$";

// The over-limit record; the Japanese part is Shift-JIS bytes.
constexpr const char* kOverLimit =
    "he  "
    "\x97\x76\x91\x66\x90\x94\x83\x49\x81\x5b\x83\x6f\x81\x5b"  // 要素数オーバー
    "    MAX=";

}  // namespace

int RunTool(const std::vector<std::string>& words, platform::FileSystem& files,
            platform::OutStream& console, platform::OutStream& errors) {
  Settings settings;
  for (const std::string& word : words) {
    if (!word.empty() && (word[0] == '-' || word[0] == '/')) {
      ApplyOption(word.c_str(), &settings, console, errors);
    }
  }
  if (settings.debug_level == 2) {
    console.Str("\n\n#### debug #### Cmd-Option read\n");
  }

  // Bring the exchange file to its one fixed name. A rename replaces an
  // existing target, so a name left over by a crashed run cannot stand in
  // for the host's file.
  platform::HostFolder folder(files);
  if (folder.RenameReplacing(kHostName, kStep1Name)) {
    folder.RenameReplacing(kStep1Name, kStep2Name);
    folder.RenameReplacing(kStep2Name, kExchangeName);
  }

  LineCopy counted =
      CopyLines(folder, kExchangeName, kScratchName, kCountLimit, errors);
  if (counted.status != 0) return counted.status;
  const uint32_t line_count = counted.count;
  // "copyed": the host's spelling.
  if (settings.debug_level == 2) console.Str("#  copyed to KDX_TEMP.$$$ \n");

  std::unique_ptr<platform::OutStream> out = folder.OpenForWriting(kScratchName);
  if (!out) {
    FileMessage(errors, "Cannot open file: ", kScratchName);
    return 1;
  }
  if (line_count > kLineLimit) {
    out->Str(kOverLimit);
    out->Unsigned(kLineLimit);
    out->Chr('\n');
    out->Close();
    return 1;
  }
  std::unique_ptr<platform::TextReader> in =
      folder.OpenForReading(kExchangeName);
  if (!in) {
    FileMessage(errors, "Cannot open file: ", kExchangeName);
    out->Close();
    return 1;
  }

  if (!ProcessExchange(*in, *out, console, settings, line_count)) {
    // A short input is never taken as whole: the host keeps its file.
    FileMessage(errors, "Cannot read file: ", kExchangeName);
    out->Close();
    return 1;
  }

  in->Close();
  if (!out->Close()) {
    // The output is incomplete: leave the host's file as it was.
    FileMessage(errors, "Cannot write file: ", kScratchName);
    return 1;
  }
  if (settings.debug_level == 0) {
    LineCopy back = CopyLines(folder, kScratchName, kExchangeName, 0, errors);
    if (back.status != 0) return back.status;
    folder.Remove(kScratchName);
  }
  return 0;
}
