// The view's pictures: the two button strips, the focus indicator, the item icons, the masked
// markers, the scroll-bar tiles and the header background, compiled in as resources. Names the
// tiles of every strip and says where a tile lies, so drawing code never counts pixels itself.
// Also the command-bar icons and the application icon, each in every size it is drawn in.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>

namespace res {

enum class Picture {
    ButtonStrip1,     // buttons 0 to 9
    ButtonStrip2,     // buttons 10 to 19
    FocusIndicator,   // one tile per key focus area
    ItemIcons,        // two rows of ten 12 x 12 icons
    NowMarker,        // masked: picture tile, mask tile
    HandleLeft,       // masked: grabbed start of a dragged appointment
    HandleRight,      // masked: grabbed end of a dragged appointment
    ScrollBar,        // detail-area scroll bar
    HeaderBackground, // 1 x 32, stretched over the header strip
};

// Button index = tile number; strip 2 holds 10 to 19.
enum ButtonTile : int {
    kButtonSelectToday = 0,
    kButtonToday = 1,
    kButtonWeekBefore = 2,
    kButtonWeekAfter = 3,
    kButtonMonthBefore = 4,
    kButtonMonthAfter = 5,
    kButtonEarlierHours = 6,
    kButtonLaterHours = 7,
    kButtonZoomIn = 8,
    kButtonZoomOut = 9,
    kButtonCalendar = 10,
    kButtonBoth = 11,
    kButtonAppointmentsOnly = 12,
    kButtonTasksOnly = 13,
    kButtonBlank14 = 14,
    kButtonDetailView = 15,
    kButtonDetailAtBottom = 16,
    kButtonBlank17 = 17,
    kButtonBlank18 = 18,
    kButtonBlank19 = 19,
    kButtonCount = 20,
};

// Tile = key focus area (0 button bar, 1 body, 2 detail area, 3 none).
enum FocusTile : int {
    kFocusButtonBar = 0,
    kFocusBody = 1,
    kFocusDetail = 2,
    kFocusNone = 3,
};

// Icon = 10 x row + column of its tile; the drawing code names the same tiles by their pixel
// position (x, y), which is (12 x column, 12 x row).
enum ItemIcon : int {
    kIconHiddenBefore = 0,
    kIconHiddenAfter = 1,
    kIconTaskCompleted = 2,
    kIconTaskOpen = 3,
    kIconTaskOverdue = 4,
    kIconTaskRecurring = 5,
    kIconHoliday = 6,
    kIconRestDay = 7,
    kIconMemorialDay = 8,
    kIconOtherDayKind = 9,
    kIconAppointment = 10,
    kIconRecurringOccurrence = 11,
    kIconChangedOccurrence = 12,
    kIconMovedOrDeletedOccurrence = 13,
    kIconAllDay = 14,
    kIconConflict = 15,
    kIconMoreItems = 16,
};

// Tiles of a masked picture: AND the mask (black where the picture is), then OR the picture.
enum MaskedTile : int { kMaskedImage = 0, kMaskedMask = 1 };

// The thumb's top and bottom kThumbCapHeight rows are caps; the rows between may be stretched.
enum ScrollTile : int { kScrollUp = 0, kScrollDown = 1, kScrollTrack = 2, kScrollThumb = 3 };
inline constexpr int kThumbCapHeight = 2;

inline constexpr int kLargeTileSize = 32;
inline constexpr int kSmallTileSize = 16;
inline constexpr int kItemIconSize = 12;
inline constexpr int kItemIconsPerRow = 10;

// Size of one tile; `large` picks the 32-pixel set where a picture has two sizes.
QSize TileSize(Picture picture, bool large);
// Number of tiles the picture holds (item icons: both rows).
int TileCount(Picture picture);
// Source rectangle of tile `index` in the picture; an empty rectangle when out of range.
QRect TileRect(Picture picture, bool large, int index);
// The strip that holds a button, and the button's source rectangle in it.
Picture ButtonStrip(int buttonIndex);
QRect ButtonTileRect(int buttonIndex, bool large);

// Resource path (":/pictures/....png") of the picture in the chosen size.
QString PicturePath(Picture picture, bool large);
// The picture as loaded from the resources; a null image or pixmap if the resource is missing.
QImage LoadPictureImage(Picture picture, bool large);
QPixmap LoadPicture(Picture picture, bool large);

// Square sizes in pixels: the command-bar icons at 24 and doubled for high-DPI screens, the
// application icon from the window title up to the launcher.
inline constexpr std::array<int, 2> kCommandIconSizes = {24, 48};
inline constexpr std::array<int, 8> kApplicationIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// The command bar's picture of cut, copy, paste, version or help (cmd::ID_CUT, ID_COPY,
// ID_PASTE, ID_APP_ABOUT, ID_KEYS_AND_MOUSE) in all kCommandIconSizes; an empty icon for any
// other command.
QIcon CommandBarIcon(int commandId);
// The application's icon in all kApplicationIconSizes.
QIcon ApplicationIcon();

} // namespace res
