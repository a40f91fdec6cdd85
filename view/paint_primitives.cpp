// The drawing helpers. Rectangles and lines follow the handheld's conventions (exclusive right
// and bottom edges, lines without their last point) so that the layout's figures hold exactly.
#include "view/paint_primitives.h"

#include <QBrush>
#include <QChar>
#include <QPainter>
#include <QPen>
#include <algorithm>

#include "model/text_list.h"
#include "res/pictures.h"
#include "settings/usable_range.h"
#include "view/text_sink.h"
#include "view/view_resources.h"

QRect ToQRect(const PixelRect& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

void DrawRectangle(QPainter& painter, const PixelRect& rect, const QPen& pen, const QBrush& brush)
{
    if (rect.Width() <= 0 || rect.Height() <= 0) {
        return;
    }
    painter.fillRect(ToQRect(rect), brush);
    FrameRectangle(painter, rect, pen);
}

void FrameRectangle(QPainter& painter, const PixelRect& rect, const QPen& pen)
{
    if (rect.Width() <= 0 || rect.Height() <= 0) {
        return;
    }
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

void HorizontalLine(QPainter& painter, int x0, int x1, int y)
{
    if (x1 > x0) {
        painter.drawLine(x0, y, x1 - 1, y);
    }
}

void VerticalLine(QPainter& painter, int x, int y0, int y1)
{
    if (y1 > y0) {
        painter.drawLine(x, y0, x, y1 - 1);
    }
}

void DrawLine(QPainter& painter, const PixelLine& line)
{
    const PixelPoint& a = line.from;
    const PixelPoint& b = line.to;
    if (a.y == b.y && a.x != b.x) {
        painter.drawLine(a.x, a.y, b.x + (b.x > a.x ? -1 : 1), a.y);
    } else if (a.x == b.x && a.y != b.y) {
        painter.drawLine(a.x, a.y, a.x, b.y + (b.y > a.y ? -1 : 1));
    }
}

void DrawItemIcon(QPainter& painter, const ViewResources& resources, int icon,
                  const PixelRect& square, const PixelRect& shown)
{
    if (shown.Width() <= 0 || shown.Height() <= 0) {
        return;
    }
    if (shown == square) {
        DrawItemIcon(painter, resources, icon, {square.left, square.top}, square.Width());
        return;
    }
    painter.save();
    painter.setClipRect(ToQRect(shown),
                        painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    DrawItemIcon(painter, resources, icon, {square.left, square.top}, square.Width());
    painter.restore();
}

void DrawItemIcon(QPainter& painter, const ViewResources& resources, int icon, PixelPoint at,
                  int size)
{
    const QRect source = res::TileRect(res::Picture::ItemIcons, false, icon);
    if (source.isEmpty() || size <= 0) {
        return;
    }
    painter.drawPixmap(QRect(at.x, at.y, size, size), resources.ItemIcons(), source);
}

namespace {

bool SharesEntry(const std::wstring& categories, const std::wstring& target)
{
    return ListMatches(categories, target, L",", true, false);
}

} // namespace

bool PassesCategoryFilter(const DrawSettings& settings, const std::wstring& categories)
{
    switch (settings.CategoryFilterType) {
    case 1:
        return SharesEntry(categories, settings.CategoryFilterTarget);
    case 2:
        return !SharesEntry(categories, settings.CategoryFilterTarget);
    default:
        return true;
    }
}

std::wstring CutSubject(const DrawSettings& settings, const std::wstring& subject)
{
    const int length = usable::DispTextLen(settings.DispTextLen);
    if (length > 0 && subject.size() > static_cast<size_t>(length)) {
        return IsolatedText(subject.substr(0, length));
    }
    return IsolatedText(subject);
}

std::wstring IsolatedText(const std::wstring& text)
{
    constexpr wchar_t kPdf = 0x202C;
    constexpr wchar_t kFsi = 0x2068;
    constexpr wchar_t kPdi = 0x2069;
    const auto direction = [](wchar_t c) { return QChar::direction(static_cast<char32_t>(c)); };
    const bool plain = std::none_of(text.begin(), text.end(), [&](wchar_t c) {
        const QChar::Direction d = direction(c);
        return d == QChar::DirR || d == QChar::DirAL ||
               (d >= QChar::DirLRE && d <= QChar::DirPDF) || d >= QChar::DirLRI;
    });
    if (plain) {
        return text;
    }
    std::wstring out(1, kFsi);
    std::wstring open; // the closer each still open embedding or isolate needs, innermost last
    for (const wchar_t c : text) {
        const QChar::Direction d = direction(c);
        if (d == QChar::DirLRE || d == QChar::DirRLE || d == QChar::DirLRO || d == QChar::DirRLO) {
            open += kPdf;
        } else if (d == QChar::DirLRI || d == QChar::DirRLI || d == QChar::DirFSI) {
            open += kPdi;
        } else if (d == QChar::DirPDF) {
            if (open.empty() || open.back() != kPdf) {
                continue; // would close what is not the text's own
            }
            open.pop_back();
        } else if (d == QChar::DirPDI) {
            const size_t isolate = open.rfind(kPdi);
            if (isolate == std::wstring::npos) {
                continue;
            }
            open.erase(isolate); // a PDI also ends the embeddings inside its isolate
        }
        out += c;
    }
    out.append(open.rbegin(), open.rend());
    return out + kPdi;
}

void DrawSubject(QPainter& painter, const TextSink& text, const DrawSettings& settings, int x,
                 int y, const std::wstring& subject, const QRect& cell, int end)
{
    if (usable::DispTextLen(settings.DispTextLen) > 0) {
        text.Draw(painter, x, y, subject, cell);
        return;
    }
    QRect shown = cell;
    shown.setRight(std::min(cell.right(), end - 1));
    text.DrawCut(painter, x, y, subject, shown);
}
