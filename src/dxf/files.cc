#include "dxf/files.h"

#include <utility>

namespace dxf {
namespace {

class ScratchOutput : public OutputFile {
 public:
  ScratchOutput(Files& files, std::string target)
      : files_(files),
        target_(std::move(target)),
        scratch_(target_ + std::string(kScratchSuffix)),
        file_(files_.Create(scratch_)) {}
  ~ScratchOutput() override {
    if (file_) {
      file_.reset();
      files_.Remove(scratch_);
    }
  }
  ScratchOutput(const ScratchOutput&) = delete;
  ScratchOutput& operator=(const ScratchOutput&) = delete;

  void Write(std::string_view bytes) override {
    if (file_) file_->Write(bytes);
  }

  /// The scratch file is made anew.
  bool StartOver() override {
    if (!file_) return false;
    file_.reset();
    file_ = files_.Create(scratch_);
    // Nothing can be written any more: nothing is left behind either.
    if (!file_) files_.Remove(scratch_);
    return file_ != nullptr;
  }

  bool Commit() override {
    if (!file_) return false;
    const bool closed = file_->Commit();
    file_.reset();
    if (closed && files_.Rename(scratch_, target_)) return true;
    files_.Remove(scratch_);
    return false;
  }

 private:
  Files& files_;
  std::string target_;
  std::string scratch_;
  std::unique_ptr<OutputFile> file_;
};

}  // namespace

std::unique_ptr<OutputFile> OutputThroughScratch(Files& files,
                                                 const std::string& target) {
  return std::make_unique<ScratchOutput>(files, target);
}

}  // namespace dxf
