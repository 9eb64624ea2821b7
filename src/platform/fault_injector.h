#ifndef RRENSEN_PLATFORM_FAULT_INJECTOR_H_
#define RRENSEN_PLATFORM_FAULT_INJECTOR_H_

namespace platform {

/// Fails one chosen file operation, for tests: every operation of a file
/// system in memory (open, rename, remove, and each read, write and close of
/// its streams) asks Now() first and fails as the real call would when it
/// answers true. Counting starts at 1; fail_at 0 fails nothing, so a run with
/// it counts the operations that a sweep can then fail one by one.
class FaultInjector {
 public:
  explicit FaultInjector(long fail_at = 0) : fail_at_(fail_at) {}

  /// Counts one operation; true when it is the one to fail.
  bool Now() { return ++count_ == fail_at_; }

  /// Operations counted so far.
  long count() const { return count_; }

 private:
  long fail_at_;
  long count_ = 0;
};

}  // namespace platform

#endif  // RRENSEN_PLATFORM_FAULT_INJECTOR_H_
