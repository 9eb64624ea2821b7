#include "platform/fault.h"

namespace platform {
namespace {
long g_fail_at = 0;
long g_count = 0;
}  // namespace

void FailNthOperation(long n) {
  g_fail_at = n;
  g_count = 0;
}

long OperationCount() { return g_count; }

bool FaultNow() {
  ++g_count;
  return g_fail_at > 0 && g_count == g_fail_at;
}

}  // namespace platform
