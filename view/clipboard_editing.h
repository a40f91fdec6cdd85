// Copy, Cut and Paste of the view: the record of the copied or cut item, the item's forms on the
// desktop clipboard, and the paste that copies or moves it (or another program's calendar) in
// one undo step. Cut only marks the item: the paste moves it in one save, so a paste that fails
// leaves it where it was.
#pragma once

#include <QObject>
#include <optional>
#include <vector>

#include "view/edit_feedback.h"
#include "view/view_clipboard.h"

class ViewEditingHost;

class ClipboardEditing : public QObject {
public:
    ClipboardEditing(ViewEditingHost& view, EditFeedback& feedback,
                     const ViewEditServices& services);

    void Copy();
    void Cut();
    // The target is `menuPoint`'s row and half hour when given, else the selected day.
    void Paste(const std::optional<PixelPoint>& menuPoint);
    // Our record or a newer calendar of another program is there to paste.
    bool HoldsItem() const;
    const ClipRecord& Record() const { return record_; }

private:
    bool FillRecord(int operation);
    bool ForeignClipNewer() const;
    void PutOnDesktop() const;
    void PasteForeign(const std::vector<pim::StoredItem>& items,
                      const std::optional<PixelPoint>& menuPoint);
    SYSTEMTIME PasteTarget(const SYSTEMTIME& source, bool wholeDays,
                           const std::optional<PixelPoint>& menuPoint) const;
    void FollowMovedItem(const SYSTEMTIME& target, const MoveResult& moved);

    ViewEditingHost& view_;
    EditFeedback& feedback_;
    const ViewEditServices& services_;
    ClipRecord record_;
    // Another program put something on the desktop clipboard after the record was filled.
    bool desktopNewer_ = true;
};
