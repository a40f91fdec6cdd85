// Colours are kept as 0x00BBGGRR numbers in the settings and the store; this is the one place
// they turn into Qt's colours for painting.
#pragma once

#include <QColor>

#include <cstdint>

inline QColor ColorFromRef(uint32_t colorRef)
{
    const auto channel = [colorRef](int shift) {
        return static_cast<int>((colorRef >> shift) & 0xFFu);
    };
    return {channel(0), channel(8), channel(16)};
}
