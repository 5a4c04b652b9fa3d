// The message loop's waiting and waking, in one place: pump_events() takes in what has
// arrived, wait_for_events() sleeps until something may have (or a timer is due) and
// says why it woke, wake() makes the wait return at once because the loop has work.
#pragma once

#include "display/display.h"

namespace tickvane::device {

enum class WakeReason {
    Woken,        // wake(): a message was posted, a quit requested or input queued
    Input,        // the display has events: taps, keys, focus, rotation, its close button
    Registry,     // another launch may have asked for one of our windows to come forward
    TimedOut,     // the timeout passed: a timer is due
    Interrupted,  // a signal, or the wait failed: everything is looked at again
    VirtualTime,  // under test: the test acted, or the clock jumped to the next timer
    NothingLeft,  // under test: nothing will ever come; the loop is asked to quit
};

// Display events into the input queue; the foreground requests other launches made, when
// the last wake may have brought some.
void pump_events();
// Blocks for at most `timeout_ms` (-1: no limit) unless the loop was woken.
WakeReason wait_for_events(int timeout_ms);
void wake();
// Input for the loop, as the display gives it (and as tests give it).
void queue_input(const display::Event& e);

}  // namespace tickvane::device
