// The recording stand-in of the notification service: ids count up from 1, as a server's do.
#include "platform/recording_notifier.h"

uint32_t RecordingNotifier::Notify(const Notification& notification)
{
    if (!available_) {
        return 0;
    }
    shown_.push_back(notification);
    return static_cast<uint32_t>(shown_.size());
}
