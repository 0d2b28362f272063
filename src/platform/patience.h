#pragma once
// How long the run waits for other programs: a book another program holds open, locked or
// scanned. Every wait of the run draws on one budget of a few seconds, so steps that each wait
// a little never add up to a long silence; once it is spent, the step that waits fails and the
// run ends with its message.

namespace velmar::platform {

// Sleeps before the next try, briefly at first and longer each time, and returns true; returns
// false at once, without sleeping, when the run has waited all it may.
bool waitBeforeRetrying();

}  // namespace velmar::platform
