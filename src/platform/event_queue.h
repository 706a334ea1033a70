#pragma once
// The per-window event queue that both backends fill from their own message sources.

#include "src/platform/platform.h"

#include <deque>

namespace VARKO::Platform {

// Moves the oldest event into `event`; false when the queue is empty.
inline bool TakeEvent(std::deque<Event>& events, Event& event) {
    if (events.empty()) {
        return false;
    }
    event = events.front();
    events.pop_front();
    return true;
}

} // namespace VARKO::Platform
