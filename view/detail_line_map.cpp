#include "view/detail_line_map.h"

#include "model/date_time.h"

bool DetailLineMap::Key::operator==(const Key& other) const
{
    return DaysBetween(first, other.first) == 0 && row == other.row && scroll == other.scroll;
}

const DetailLines& DetailLineMap::For(const Key& key, const std::function<DetailLines()>& draw)
{
    if (drawnFor_ != key) {
        lines_ = draw();
        drawnFor_ = key;
    }
    return lines_;
}

void DetailLineMap::Drawn(const Key& key, DetailLines lines, bool lineFramed)
{
    lines_ = std::move(lines);
    drawnFor_ = key;
    lineFramed_ = lineFramed;
}
