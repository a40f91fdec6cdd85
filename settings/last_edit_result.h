// What the last modal editor or the recurring-change confirmation did, for the view to read
// after the dialog closes. Held in the settings block for the whole run, never saved.
#pragma once

class LastEditResult {
public:
    static constexpr int kEditorOpened = -1;
    static constexpr int kCancelled = 0;
    static constexpr int kSaved = 1;   // also "All" in the confirmation
    static constexpr int kDeleted = 2; // also "Excep" in the confirmation
    static constexpr int kExceptionCancelled = 3;
    static constexpr int kClearAllExceptions = 999;

    int Get() const { return value_; }
    void Set(int value);

private:
    int value_ = kEditorOpened;
};
