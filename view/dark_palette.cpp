// The dark set keeps the default set's hues (pink Sundays and holidays, cyan Saturdays, green
// memorial days, a blue selection) at a low lightness, under light text.
#include "view/dark_palette.h"

#include <QPalette>

namespace {

void Darken(uint32_t& color, uint32_t lightDefault, uint32_t dark)
{
    if (color == lightDefault) {
        color = dark;
    }
}

} // namespace

bool IsDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

DrawSettings WithDarkDefaults(DrawSettings s)
{
    const DrawSettings light;
    // 0x00BBGGRR, as the settings hold them.
    constexpr uint32_t kDarkWeekday = 0x2A2A2A;
    constexpr uint32_t kDarkPink = 0x542C54;
    constexpr uint32_t kDarkCyan = 0x544A1E;
    constexpr uint32_t kDarkGreen = 0x2A542A;
    for (uint32_t* weekday :
         {&s.ColorMonday, &s.ColorTuesday, &s.ColorWednesday, &s.ColorThursday, &s.ColorFriday}) {
        Darken(*weekday, light.ColorMonday, kDarkWeekday);
    }
    Darken(s.ColorSunday, light.ColorSunday, kDarkPink);
    Darken(s.ColorHoliday, light.ColorHoliday, kDarkPink);
    Darken(s.ColorRestday, light.ColorRestday, kDarkPink);
    Darken(s.ColorSaturday, light.ColorSaturday, kDarkCyan);
    Darken(s.ColorMemorialday, light.ColorMemorialday, kDarkGreen);
    Darken(s.ColorSelday, light.ColorSelday, 0xFF9C6E);
    return s;
}
