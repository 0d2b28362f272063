#include "platform/local_time.h"

#include <windows.h>

namespace velmar::platform {

LocalTime localTimeNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  LocalTime result;
  result.year = now.wYear;
  result.month = now.wMonth;
  result.day = now.wDay;
  result.hour = now.wHour;
  result.minute = now.wMinute;
  return result;
}

}  // namespace velmar::platform
