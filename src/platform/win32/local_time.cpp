#include "platform/local_time.h"

#include <windows.h>

namespace velmar::platform {

LocalTime localTimeNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

}  // namespace velmar::platform
