// The view on a dark desktop: the colours a user left at their defaults get dark counterparts,
// so the chart, the button bar and the detail area follow the desktop; colours a user set are
// drawn as set.
#pragma once

#include "view/draw_settings.h"

class QPalette;

// Whether the desktop's palette is a dark one (its window colour is dark).
bool IsDarkPalette(const QPalette& palette);
// `settings` with each colour still at its default replaced by its dark counterpart.
DrawSettings WithDarkDefaults(DrawSettings settings);
