// Desktop notifications behind one service, so the reminders can show them through the desktop's
// notification server while tests record them instead.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct Notification {
    std::wstring summary;
    std::wstring body;
    bool sound = false;
    std::wstring soundFile;  // empty: the desktop's default message sound
    bool persistent = false; // stays until dismissed
    bool transient = false;  // a sound without a dialog: the server need not keep it
    // Action keys and their labels, in the order offered.
    std::vector<std::pair<std::string, std::wstring>> actions;
};

class Notifier {
public:
    using ActionHandler = std::function<void(uint32_t id, const std::string& action)>;

    virtual ~Notifier() = default;
    // The id the service gave the notification; 0 when no service showed it.
    virtual uint32_t Notify(const Notification& notification) = 0;
    // Called with the notification's id and the action key when the user picks an action
    // ("default" for a click on the notification itself).
    void SetActionHandler(ActionHandler handler) { handler_ = std::move(handler); }

protected:
    void ActionInvoked(uint32_t id, const std::string& action) const
    {
        if (handler_) {
            handler_(id, action);
        }
    }

private:
    ActionHandler handler_;
};
