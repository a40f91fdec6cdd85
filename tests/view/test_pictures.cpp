// The compiled-in pictures: every strip loads at its exact size, its tiles are where the drawing
// code looks for them, no drawn tile is empty or a copy of another, and the masked pictures'
// masks fit their images. The command-bar and application icons hold a drawn picture per size.
#include "res/pictures.h"

#include "res/command_ids.h"

#include <QColor>
#include <QIcon>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using res::Picture;

QImage Tile(Picture picture, bool large, int index)
{
    return res::LoadPictureImage(picture, large)
        .copy(res::TileRect(picture, large, index))
        .convertToFormat(QImage::Format_ARGB32);
}

bool FullyTransparent(const QImage& image)
{
    QImage clear(image.size(), QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    return image.convertToFormat(clear.format()) == clear;
}

// Every tile is drawn, and no two are alike unless both are in `alike`.
void ExpectDrawnAndDistinct(const std::vector<QImage>& tiles, const std::vector<int>& alike = {})
{
    const auto isAlike = [&](int i) {
        return std::find(alike.begin(), alike.end(), i) != alike.end();
    };
    for (int i = 0; i < int(tiles.size()); ++i) {
        EXPECT_FALSE(FullyTransparent(tiles[i])) << i;
        for (int other = 0; other < i; ++other)
            EXPECT_EQ(tiles[i] == tiles[other], isAlike(i) && isAlike(other))
                << i << " vs " << other;
    }
}

TEST(Pictures, EveryPictureLoadsAtTilesTimesTileSize)
{
    for (const Picture picture :
         {Picture::ButtonStrip1, Picture::ButtonStrip2, Picture::FocusIndicator, Picture::ItemIcons,
          Picture::NowMarker, Picture::HandleLeft, Picture::HandleRight, Picture::ScrollBar,
          Picture::HeaderBackground}) {
        for (const bool large : {false, true}) {
            SCOPED_TRACE(res::PicturePath(picture, large).toStdString());
            const QImage image = res::LoadPictureImage(picture, large);
            ASSERT_FALSE(image.isNull());
            EXPECT_FALSE(res::LoadPicture(picture, large).isNull());
            const QSize tile = res::TileSize(picture, large);
            const int count = res::TileCount(picture);
            const int perRow = picture == Picture::ItemIcons ? res::kItemIconsPerRow : count;
            EXPECT_EQ(image.size(), QSize(tile.width() * perRow, tile.height() * (count / perRow)));
        }
    }
    EXPECT_EQ(res::LoadPictureImage(Picture::ButtonStrip1, true).size(), QSize(320, 32));
    EXPECT_EQ(res::LoadPictureImage(Picture::ItemIcons, false).size(), QSize(120, 24));
}

TEST(Pictures, TileRectanglesFollowTheTileNumbering)
{
    // clang-format off
    struct Case { Picture picture; bool large; int index; QRect expected; };
    const Case cases[] = {
        {Picture::ItemIcons, false, res::kIconOtherDayKind, {108, 0, 12, 12}},
        {Picture::ItemIcons, false, res::kIconAppointment, {0, 12, 12, 12}}, // the second row
        {Picture::ItemIcons, false, res::kIconConflict, {60, 12, 12, 12}},
        {Picture::FocusIndicator, true, res::kFocusNone, {96, 0, 32, 32}},
        {Picture::FocusIndicator, false, res::kFocusDetail, {32, 0, 16, 16}},
        {Picture::NowMarker, false, res::kMaskedMask, {16, 0, 16, 16}},
        {Picture::ScrollBar, false, res::kScrollThumb, {48, 0, 16, 16}},
        {Picture::ItemIcons, false, 20, {}},
        {Picture::ButtonStrip1, true, -1, {}},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(res::TileRect(c.picture, c.large, c.index), c.expected) << c.index;

    EXPECT_EQ(res::ButtonStrip(res::kButtonZoomOut), Picture::ButtonStrip1);
    EXPECT_EQ(res::ButtonStrip(res::kButtonCalendar), Picture::ButtonStrip2);
    EXPECT_EQ(res::ButtonTileRect(res::kButtonZoomOut, true), QRect(288, 0, 32, 32));
    EXPECT_EQ(res::ButtonTileRect(res::kButtonTasksOnly, false), QRect(48, 0, 16, 16));
    EXPECT_EQ(res::ButtonTileRect(res::kButtonCount, false), QRect());
}

// Blank buttons are bare bar background, alike; every other button, focus indicator and used
// item icon looks different from the rest.
TEST(Pictures, TilesAreDrawnAndDistinct)
{
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large);
        std::vector<QImage> buttons, focus;
        for (int index = 0; index < res::kButtonCount; ++index)
            buttons.push_back(res::LoadPictureImage(res::ButtonStrip(index), large)
                                  .copy(res::ButtonTileRect(index, large))
                                  .convertToFormat(QImage::Format_ARGB32));
        ExpectDrawnAndDistinct(buttons, {res::kButtonBlank14, res::kButtonBlank17,
                                         res::kButtonBlank18, res::kButtonBlank19});
        for (int area = 0; area < res::TileCount(Picture::FocusIndicator); ++area)
            focus.push_back(Tile(Picture::FocusIndicator, large, area));
        ExpectDrawnAndDistinct(focus);
    }
    std::vector<QImage> icons;
    for (int icon = res::kIconHiddenBefore; icon <= res::kIconMoreItems; ++icon)
        icons.push_back(Tile(Picture::ItemIcons, false, icon));
    ExpectDrawnAndDistinct(icons);
    // Drawn over the row colour, so the corners stay see-through.
    EXPECT_EQ(qAlpha(icons[res::kIconAppointment].pixel(0, 0)), 0);
}

// AND with the mask then OR with the picture only works when the mask is black exactly where
// the picture has colour and the picture is black (transparent) everywhere else.
TEST(Pictures, MasksCoverTheirPicturesAndTheThumbStretches)
{
    for (const Picture picture : {Picture::NowMarker, Picture::HandleLeft, Picture::HandleRight}) {
        const QImage image = Tile(picture, false, res::kMaskedImage);
        const QImage mask = Tile(picture, false, res::kMaskedMask);
        ASSERT_EQ(image.size(), QSize(16, 16));
        ASSERT_EQ(mask.size(), QSize(16, 16));
        int covered = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QRgb m = mask.pixel(x, y);
                const bool drawn = qAlpha(image.pixel(x, y)) == 255;
                EXPECT_TRUE(m == qRgb(0, 0, 0) || m == qRgb(255, 255, 255)) << x << "," << y;
                EXPECT_EQ(m == qRgb(0, 0, 0), drawn) << x << "," << y;
                EXPECT_TRUE(drawn || image.pixel(x, y) == 0) << x << "," << y;
                covered += drawn;
            }
        }
        EXPECT_GT(covered, 0);
        EXPECT_LT(covered, 16 * 16);
    }
    // The marker is centred on its tile's column 8, where the current minute falls.
    const QImage marker = Tile(Picture::NowMarker, false, res::kMaskedImage);
    EXPECT_EQ(qAlpha(marker.pixel(8, 15)), 255);
    EXPECT_EQ(qAlpha(marker.pixel(0, 15)), 0);

    // The scroll thumb is stretched by repeating its middle row between the caps.
    const QImage thumb = Tile(Picture::ScrollBar, false, res::kScrollThumb);
    for (int y = res::kThumbCapHeight + 1; y < 16 - res::kThumbCapHeight; ++y)
        EXPECT_EQ(thumb.copy(0, y, 16, 1), thumb.copy(0, res::kThumbCapHeight, 16, 1)) << y;
    EXPECT_NE(thumb.copy(0, 0, 16, res::kThumbCapHeight),
              thumb.copy(0, res::kThumbCapHeight, 16, res::kThumbCapHeight));
}

// Each size is a file of its own, drawn for it: the icon must hand out exactly that file, not a
// neighbour scaled. The ground is see-through so the icons sit on any bar or desktop.
TEST(Pictures, IconsAreDrawnAtEverySize)
{
    // clang-format off
    struct Case { QIcon icon; const char* file; std::vector<int> sides; };
    // clang-format on
    const std::vector<int> bar = {24, 48};
    const Case cases[] = {{res::CommandBarIcon(cmd::ID_CUT), "cmd_cut", bar},
                          {res::CommandBarIcon(cmd::ID_COPY), "cmd_copy", bar},
                          {res::CommandBarIcon(cmd::ID_PASTE), "cmd_paste", bar},
                          {res::CommandBarIcon(cmd::ID_APP_ABOUT), "cmd_about", bar},
                          {res::ApplicationIcon(), "app_icon", {16, 32, 48, 128, 256}}};
    std::vector<QImage> drawn;
    for (const Case& c : cases) {
        ASSERT_FALSE(c.icon.isNull()) << c.file;
        EXPECT_EQ(c.icon.availableSizes().size(), qsizetype(c.sides.size())) << c.file;
        for (const int side : c.sides) {
            const QString path = QStringLiteral(":/pictures/%1_%2.png").arg(c.file).arg(side);
            SCOPED_TRACE(path.toStdString());
            const QImage file = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            ASSERT_EQ(file.size(), QSize(side, side));
            EXPECT_LT(qAlpha(file.pixel(0, 0)), 128);
            EXPECT_EQ(c.icon.pixmap(side, side).toImage().convertToFormat(file.format()), file);
            drawn.push_back(file);
        }
    }
    ExpectDrawnAndDistinct(drawn);
    for (const int id : {int(cmd::ID_TODAY), int(cmd::ID_CONTEXT_CUT), 0})
        EXPECT_TRUE(res::CommandBarIcon(id).isNull()) << id;
}

} // namespace
