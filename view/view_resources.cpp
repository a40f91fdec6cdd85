// Builds the view's fonts, pens, brushes and pictures from the settings. The face "system" of the
// handheld, or any face this desktop lacks, falls back to the desktop's general sans font.
#include "view/view_resources.h"

#include <QFontDatabase>
#include <QFontInfo>

#include "model/text_list.h"
#include "platform/color_ref.h"
#include "res/pictures.h"
#include "settings/usable_range.h"
#include "view/dark_palette.h"

namespace {

QPen SolidPen(const QColor& color, int width)
{
    QPen pen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

std::array<uint32_t, ViewResources::kDaySlots> DayColors(const DrawSettings& s)
{
    return {s.ColorSunday, s.ColorMonday,   s.ColorTuesday, s.ColorWednesday, s.ColorThursday,
            s.ColorFriday, s.ColorSaturday, s.ColorHoliday, s.ColorRestday,   s.ColorMemorialday};
}

// The marker's picture tile with the mask tile turned into alpha: where the mask is black the
// picture covers the row, elsewhere the row shows through (the mask-AND, picture-OR copy).
QPixmap MaskedTile(res::Picture picture)
{
    const QImage strip =
        res::LoadPictureImage(picture, false).convertToFormat(QImage::Format_ARGB32);
    const QRect imageTile = res::TileRect(picture, false, res::kMaskedImage);
    const QRect maskTile = res::TileRect(picture, false, res::kMaskedMask);
    if (strip.isNull() || imageTile.isEmpty()) {
        return {};
    }
    QImage tile = strip.copy(imageTile);
    const QImage mask = strip.copy(maskTile);
    for (int y = 0; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x) {
            const QColor m = mask.pixelColor(x, y);
            const bool covered = m.alpha() > 127 && m.lightness() < 128;
            QColor color = tile.pixelColor(x, y);
            color.setAlpha(covered ? 255 : 0);
            tile.setPixelColor(x, y, color);
        }
    }
    return QPixmap::fromImage(tile);
}

} // namespace

ViewResources::ViewResources(const DrawSettings& settings, bool dark)
    : textColor_(dark ? QColor(232, 232, 232) : QColor(Qt::black)),
      blackPen_(SolidPen(dark ? QColor(150, 150, 150) : QColor(Qt::black), 1)),
      dashedPen_(blackPen_), barPen_(SolidPen(QColor(50, 50, 180), 1)),
      taskPen_(SolidPen(QColor(50, 180, 50), 1)), todayPen_(SolidPen(QColor(180, 50, 50), 3)),
      focusPen_(SolidPen(QColor(255, 50, 50), 3)),
      barBrush_(dark ? QColor(52, 58, 128) : QColor(180, 180, 255)),
      taskBrush_(dark ? QColor(36, 92, 36) : QColor(150, 255, 150)),
      conflictBrush_(dark ? QColor(170, 24, 24) : QColor(255, 0, 0)),
      whiteBrush_(dark ? QColor(32, 32, 32) : QColor(Qt::white))
{
    if (dark) {
        barPen_ = SolidPen(QColor(110, 120, 230), 1);
        taskPen_ = SolidPen(QColor(90, 200, 90), 1);
    }
    dashedPen_.setStyle(Qt::DashLine);
    RecreateFonts(settings);
    RecreateDayBrushes(dark ? WithDarkDefaults(settings) : settings);
    for (size_t strip = 0; strip < 2; ++strip) {
        const res::Picture picture =
            strip == 0 ? res::Picture::ButtonStrip1 : res::Picture::ButtonStrip2;
        buttonStrips_[strip * 2] = res::LoadPicture(picture, false);
        buttonStrips_[strip * 2 + 1] = res::LoadPicture(picture, true);
    }
    focusIndicators_[0] = res::LoadPicture(res::Picture::FocusIndicator, false);
    focusIndicators_[1] = res::LoadPicture(res::Picture::FocusIndicator, true);
    itemIcons_ = res::LoadPicture(res::Picture::ItemIcons, false);
    nowMarker_ = MaskedTile(res::Picture::NowMarker);
    headerBackground_ = res::LoadPicture(res::Picture::HeaderBackground, false);
    scrollBar_ = res::LoadPicture(res::Picture::ScrollBar, false);
    if (dark) {
        DarkenPictures();
    }
}

// The button strips' and the header's light ground (the colour of a strip's first pixel)
// turns into the dark ground; the pictures on it stay.
void ViewResources::DarkenPictures()
{
    const QColor ground = whiteBrush_.color().lighter(130);
    for (QPixmap& strip : buttonStrips_) {
        QImage image = strip.toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) {
            continue;
        }
        const QRgb light = image.pixel(0, 0);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == light) {
                    image.setPixel(x, y, ground.rgb());
                }
            }
        }
        strip = QPixmap::fromImage(image);
    }
    QPixmap header(headerBackground_.size().expandedTo(QSize(1, 1)));
    header.fill(ground);
    headerBackground_ = header;
}

QFont ViewResources::MakeFont(const std::wstring& face, int pixelHeight)
{
    const QString family = QString::fromStdWString(face);
    QFont font = QFontDatabase::hasFamily(family)
                     ? QFont(family)
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(usable::FontSize(pixelHeight));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void ViewResources::RecreateFonts(const DrawSettings& settings)
{
    mainFont_ = MakeFont(settings.MainFontName, settings.MainFontSize);
    detailFont_ = MakeFont(settings.DetailFontName, settings.DetailFontSize);
    headerFont_ = MakeFont(settings.MainFontName, usable::FontSize(settings.MainFontSize) + 4);
}

void ViewResources::RecreateDayBrushes(const DrawSettings& settings)
{
    const int rate = usable::BrightReduceRate(settings.BrightReduceRate);
    const auto colors = DayColors(settings);
    for (int slot = 0; slot < kDaySlots; ++slot) {
        dayBrushes_[slot] = QBrush(ColorFromRef(colors[slot]));
        dimmedDayBrushes_[slot] = QBrush(ColorFromRef(ScaleColor(colors[slot], rate)));
    }
    selectionPen_ = SolidPen(ColorFromRef(settings.ColorSelday), 2);
}

const QBrush& ViewResources::DayBrush(int slot, bool dimmed) const
{
    if (slot < 0 || slot >= kDaySlots) {
        return whiteBrush_;
    }
    return dimmed ? dimmedDayBrushes_[slot] : dayBrushes_[slot];
}

const QPixmap& ViewResources::ButtonStrip(int strip, bool large) const
{
    return buttonStrips_[(strip == 0 ? 0 : 2) + (large ? 1 : 0)];
}

const QPixmap& ViewResources::FocusIndicator(bool large) const
{
    return focusIndicators_[large ? 1 : 0];
}
