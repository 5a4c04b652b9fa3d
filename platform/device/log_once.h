// A program the notification service starts writes to the service's log, once per
// appearance: a warning it repeats each time (a bad device setting, say) is written
// there once, not once per appearance.
#pragma once

namespace tickvane::device {

// When stderr is a log (a regular file opened for appending), each whole line
// written to stderr from now on is dropped if the log already holds it.
void drop_lines_the_log_holds();

}  // namespace tickvane::device
