#pragma once
// The local wall-clock time, as far as the book's date line needs it.

namespace velmar::platform {

struct LocalTime {
  int year = 0;    // four digits, e.g. 2004
  int month = 0;   // 1 to 12
  int day = 0;     // 1 to 31
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
};

// The local date and time of this moment.
LocalTime localTimeNow();

}  // namespace velmar::platform
