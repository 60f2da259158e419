// The order in which the waiting of a form reports what happened, the same
// with every window system.
#pragma once

#include <deque>
#include <optional>

#include "platform/Form.h"

// The next event to report, or nothing while the wait must go on: a message
// window that the user closed comes first (one wait may serve several
// window events), then the form's queued events in order; a form that is
// gone sends nothing more and is taken as closed.
inline std::optional<FormEvent> TakeFormEvent(std::deque<FormEvent>& events, bool messageWindowClosed,
                                              bool formOpen) {
    if (messageWindowClosed) return FormEvent{FormEventKind::MessageWindowClose, 0};
    if (!events.empty()) {
        const FormEvent event = events.front();
        events.pop_front();
        return event;
    }
    if (!formOpen) return FormEvent{FormEventKind::Close, 0};
    return std::nullopt;
}
