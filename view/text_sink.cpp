// Clipped text output: texts are drawn left to right whatever their script, so a right-to-left
// subject starts at its icon like any other, and the painter's clip keeps it inside its cell.
#include "view/text_sink.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>
#include <QtMath>
#include <algorithm>

QString TextSink::Displayable(const std::wstring& text, int width)
{
    // No glyph is narrower than one pixel, so more characters than pixels can never be seen.
    const size_t limit = static_cast<size_t>(std::max(width, 0)) + 1;
    QString shown = QString::fromStdWString(text.substr(0, std::min(text.size(), limit)));
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph) {
            c = QLatin1Char(' ');
        }
    }
    return shown;
}

void TextSink::Draw(QPainter& painter, int x, int y, const std::wstring& text,
                    const QRect& clip) const
{
    Record(text, {x, y}, clip);
    DrawAt(painter, x, y, Displayable(text, clip.right() + 1 - x), clip);
}

void TextSink::DrawCut(QPainter& painter, int x, int y, const std::wstring& text,
                       const QRect& clip) const
{
    Record(text, {x, y}, clip);
    const int room = clip.right() + 1 - x;
    QString shown = Displayable(text, room);
    if (qCeil(Laid(shown, painter.font()).size().width()) > room) {
        shown = QFontMetrics(painter.font()).elidedText(shown, Qt::ElideRight, room);
    }
    DrawAt(painter, x, y, shown, clip);
}

void TextSink::DrawRightAligned(QPainter& painter, int right, int y, const std::wstring& text,
                                const QRect& clip) const
{
    Record(text, {right, y}, clip);
    const QString shown = Displayable(text, right - clip.left());
    const int width = qCeil(Laid(shown, painter.font()).size().width());
    DrawAt(painter, right - width, y, shown, clip);
}

int TextSink::Width(QPainter& painter, const std::wstring& text, int width) const
{
    const QString shown = Displayable(text, width);
    return shown.isEmpty() ? 0 : qCeil(Laid(shown, painter.font()).size().width());
}

void TextSink::Record(const std::wstring& text, QPoint at, const QRect& clip) const
{
    if (recorder_) {
        recorder_({text, at, clip});
    }
}

// Shaping a text costs far more than blitting its glyphs, and a schedule repeats its subjects
// from day to day and from paint to paint: laid-out texts are kept per font.
const QStaticText& TextSink::Laid(const QString& text, const QFont& font) const
{
    auto fonts = std::find_if(cache_.begin(), cache_.end(),
                              [&](const FontCache& entry) { return entry.font == font; });
    if (fonts == cache_.end()) {
        if (cache_.size() >= kFontLimit) {
            cache_.clear();
        }
        cache_.push_back({font, {}});
        fonts = cache_.end() - 1;
    }
    auto& texts = fonts->texts;
    if (texts.size() > kTextLimit) {
        texts.clear();
    }
    auto it = texts.find(text);
    if (it == texts.end()) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setTextDirection(Qt::LeftToRight);
        option.setWrapMode(QTextOption::NoWrap);
        laid.setTextOption(option);
        laid.prepare(QTransform(), font);
        it = texts.emplace(text, std::move(laid)).first;
    }
    return it->second;
}

void TextSink::DrawAt(QPainter& painter, int x, int y, const QString& text, const QRect& clip) const
{
    if (text.isEmpty() || clip.isEmpty()) {
        return;
    }
    const QStaticText& laid = Laid(text, painter.font());
    const QSizeF size = laid.size();
    // Most texts fit their cell; only the others pay for a clip.
    if (clip.contains(QRect(x, y, qCeil(size.width()), qCeil(size.height())))) {
        painter.drawStaticText(QPointF(x, y), laid);
        return;
    }
    painter.save();
    painter.setClipRect(clip, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter.drawStaticText(QPointF(x, y), laid);
    painter.restore();
}
