// Warnings a program repeats each time it starts (a bad setting, a library it cannot
// load): the notification service starts its programs with their stderr appending to
// the service's log, where each such warning is written once, not once per start.
#pragma once

namespace tickvane {

// Writes the formatted line and a line break to stderr, unless stderr is a log (a
// regular file opened for appending) that already holds that line.
void warn_once(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tickvane
