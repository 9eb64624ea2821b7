#include "driver/run.h"

#include <memory>

#include "driver/line_copy.h"
#include "driver/options.h"
#include "driver/process.h"
#include "driver/usage.h"
#include "platform/host_folder.h"

namespace driver {

namespace {

// The protocol's fixed file names, in the working folder.
constexpr const char* kHostName = "kdx_temp.txt";
constexpr const char* kStep1Name = "KDX_x2x2.$$";
constexpr const char* kStep2Name = "KDX_x2x2.$$$";
constexpr const char* kExchangeName = "KDX_TEMP.TXT";
constexpr const char* kScratchName = "KDX_TEMP.$$$";

/// The most pieces the counting copy reads: one more than the longest
/// exchange file the tool takes, which is how an over-long file shows.
constexpr uint32_t kCountLimit = reader::kLineLimit + 1;

// The over-limit record; the Japanese part is Shift-JIS bytes.
constexpr const char* kOverLimit =
    "he  "
    "\x97\x76\x91\x66\x90\x94\x83\x49\x81\x5b\x83\x6f\x81\x5b"  // 要素数オーバー
    "    MAX=";

/// Brings the exchange file to its one fixed name, by way of the two
/// intermediate names. A rename replaces an existing target, so a name left
/// over by a crashed run cannot stand in for the host's file. When the first
/// rename fails (no "kdx_temp.txt"), nothing moves and the run goes on with
/// whatever the exchange file's name designates. When a later one fails, the
/// host's file goes back to the name it came under, which the exchange
/// file's name designates as well (on the host the two are one file), so
/// that it is never left under a name no host looks at.
void NormaliseExchangeName(platform::HostFolder& folder,
                           platform::OutStream& errors) {
  bool exists = false;
  const std::string original = folder.Resolve(kHostName, &exists);
  if (!exists || !folder.RenameReplacing(original, kStep1Name)) return;
  const char* at = kStep1Name;
  if (folder.RenameReplacing(kStep1Name, kStep2Name)) {
    at = kStep2Name;
    if (folder.RenameReplacing(kStep2Name, kExchangeName)) return;
  }
  // Back under its own name exactly: an entry that differs only in case is
  // no file of the host's to replace.
  if (!folder.RenameExactly(at, original)) {
    FileMessage(errors, "The exchange file is now named: ", at);
  }
}

/// Hands the complete output in the scratch file to the host: renamed over
/// the exchange file in one step, so that the exchange file holds at every
/// instant either the whole input or the whole output. Where that cannot be
/// done (either file is a link or a device, or the rename is refused), the
/// output is copied over the exchange file instead, through a link into the
/// file it names, and the scratch file removed. Returns the exit status.
int HandBack(platform::HostFolder& folder, platform::OutStream& errors) {
  if (folder.IsRegularFile(kScratchName) &&
      folder.IsRegularFile(kExchangeName) &&
      folder.MoveOver(kScratchName, kExchangeName)) {
    return 0;
  }
  LineCopy back = CopyLines(folder, kScratchName, kExchangeName, 0, errors);
  if (back.status != 0) return back.status;
  // The host has its output: a scratch file that stays is only reported.
  if (!folder.Remove(kScratchName)) {
    FileMessage(errors, "Cannot remove file: ", kScratchName);
  }
  return 0;
}

}  // namespace

int RunTool(const std::vector<std::string>& words, platform::FileSystem& files,
            platform::OutStream& console, platform::OutStream& errors) {
  // A person asking what the tool is; the host never passes these words.
  for (const std::string& word : words) {
    if (word == "--help" || word == "--version") {
      console.Str(word == "--help" ? kUsageText : kVersionText);
      return 0;
    }
  }
  Settings settings;
  for (const std::string& word : words) {
    if (!word.empty() && (word[0] == '-' || word[0] == '/')) {
      ApplyOption(word.c_str(), &settings, console, errors);
    }
  }
  if (settings.debug_level == 2) {
    console.Str("\n\n#### debug #### Cmd-Option read\n");
  }

  platform::HostFolder folder(files);
  NormaliseExchangeName(folder, errors);

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
  if (line_count > reader::kLineLimit) {
    out->Str(kOverLimit);
    out->Unsigned(reader::kLineLimit);
    out->Chr('\n');
    if (!out->Close()) FileMessage(errors, "Cannot write file: ", kScratchName);
    return 1;
  }
  std::unique_ptr<platform::TextReader> in =
      folder.OpenForReading(kExchangeName);
  if (!in) {
    FileMessage(errors, "Cannot open file: ", kExchangeName);
    out->Close();  // the run is refused whatever the close says
    return 1;
  }

  if (!ProcessExchange(*in, *out, console, settings, line_count)) {
    // A short input is never taken as whole: the host keeps its file.
    FileMessage(errors, "Cannot read file: ", kExchangeName);
    out->Close();  // the run is refused whatever the close says
    return 1;
  }

  // Every byte of the input was read: a failed close of a file only read
  // loses nothing.
  in->Close();
  if (!out->Close()) {
    // The output is incomplete: leave the host's file as it was.
    FileMessage(errors, "Cannot write file: ", kScratchName);
    return 1;
  }
  // At any debug level both files stay: the input in the exchange file, the
  // output in the scratch file.
  if (settings.debug_level != 0) return 0;
  return HandBack(folder, errors);
}

}  // namespace driver
