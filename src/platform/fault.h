#ifndef RRENSEN_PLATFORM_FAULT_H_
#define RRENSEN_PLATFORM_FAULT_H_

namespace platform {

/// Test seam for file-operation faults. Every file operation of the platform
/// layer (open, rename, read, write, close, remove) asks FaultNow() first and
/// fails as the real call would when it answers true. Off unless a test arms
/// it.
///
/// FailNthOperation(n) makes the n-th operation counted from now fail (n >= 1);
/// 0 disarms the seam. Only that one operation fails.
void FailNthOperation(long n);

/// Number of file operations made since the last FailNthOperation() call.
long OperationCount();

/// Called by each file operation; true when this one is to fail.
bool FaultNow();

}  // namespace platform

#endif  // RRENSEN_PLATFORM_FAULT_H_
