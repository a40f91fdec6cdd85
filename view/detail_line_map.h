// The selected day's detail lines as the last paint drew them. Which line shows which entry
// depends on the shown period, the day and the scroll, so the map is the last paint's only while
// those are the same; otherwise it is drawn again, off screen.
#pragma once

#include <functional>
#include <optional>

#include "platform/systemtime.h"
#include "view/task_detail_painter.h"

class DetailLineMap {
public:
    // What the lines were drawn for.
    struct Key {
        SYSTEMTIME first;
        int row = 0;
        int scroll = 0;
        bool operator==(const Key& other) const;
    };

    // The lines for `key`: the last ones drawn when they were drawn for it, else what `draw`
    // gives, kept for it.
    const DetailLines& For(const Key& key, const std::function<DetailLines()>& draw);
    // A paint drew `lines` for `key`, framing a selected line or not.
    void Drawn(const Key& key, DetailLines lines, bool lineFramed);
    // The document changed: the next ask draws again.
    void Forget() { drawnFor_.reset(); }

    const DetailLines& Last() const { return lines_; }
    // The last paint framed a selected line, whose wide pen reaches past the list.
    bool LineFramed() const { return lineFramed_; }

private:
    DetailLines lines_;
    std::optional<Key> drawnFor_;
    bool lineFramed_ = false;
};
