// The notification service of the tests: it keeps what it is asked to show and plays the user's
// clicks on demand, so reminder tests need no desktop.
#pragma once

#include "platform/notifier.h"

// Keeps every notification it is given; a test plays the user's clicks with Invoke.
class RecordingNotifier : public Notifier {
public:
    uint32_t Notify(const Notification& notification) override;
    void Invoke(uint32_t id, const std::string& action) const { ActionInvoked(id, action); }
    // When false, Notify answers 0 as if no notification service were there.
    void SetAvailable(bool available) { available_ = available; }

    const std::vector<Notification>& Shown() const { return shown_; }

private:
    std::vector<Notification> shown_;
    bool available_ = true;
};
