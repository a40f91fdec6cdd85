// Maps the program's button sets, icons and answers onto QMessageBox.
#include "app/qt_message_service.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QSpacerItem>

#include "app/qt_dialog_runner.h"

namespace {

QMessageBox::StandardButtons ButtonsOf(unsigned flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

// Button `index` of the set, in the order its names are given.
QMessageBox::StandardButton ButtonInOrder(unsigned flags, size_t index)
{
    static const QMessageBox::StandardButton okCancel[] = {QMessageBox::Ok, QMessageBox::Cancel};
    static const QMessageBox::StandardButton yesNoCancel[] = {QMessageBox::Yes, QMessageBox::No,
                                                              QMessageBox::Cancel};
    switch (flags & 0xF) {
    case MB_OKCANCEL:
    case MB_OK:
        return index < 2 ? okCancel[index] : QMessageBox::NoButton;
    default:
        return index < 3 ? yesNoCancel[index] : QMessageBox::NoButton;
    }
}

QMessageBox::Icon IconOf(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int ResultOf(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}

// Room a title bar takes beside its text: the window icon and the close, minimise and maximise
// buttons of the usual window managers.
constexpr int kTitleBarButtonsWidth = 160;

} // namespace

void FitCaption(QMessageBox& box)
{
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width =
        QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarButtonsWidth;
    // QMessageBox sizes itself from its layout, so the width goes in as a spacer row.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

void FitMessageToScreen(QMessageBox& box, const QRect& available)
{
    const int room = RoomInside(available).height();
    if (box.sizeHint().height() <= room) {
        return;
    }
    // The whole text stays one click away, in the box's own scrolling details.
    const QString whole = box.text();
    box.setDetailedText(whole);
    // The longest head of the text, cut where a line or word ends, that leaves the box short
    // enough: found by halving, since each try lays the box out again.
    qsizetype fits = 0;
    qsizetype tooLong = whole.size();
    while (tooLong - fits > 1) {
        const qsizetype tried = (fits + tooLong) / 2;
        box.setText(whole.left(tried) + QChar(0x2026));
        if (box.sizeHint().height() <= room) {
            fits = tried;
        } else {
            tooLong = tried;
        }
    }
    const qsizetype breakAt = whole.lastIndexOf(QRegularExpression(QStringLiteral("\\s")), fits);
    box.setText(whole.left(breakAt > 0 ? breakAt : fits) + QChar(0x2026));
}

int QtMessageService::MessageBox(const std::wstring& text, const std::wstring& caption,
                                 unsigned flags)
{
    return MessageBoxNamed(text, caption, flags, {});
}

int QtMessageService::MessageBoxNamed(const std::wstring& text, const std::wstring& caption,
                                      unsigned flags, const std::vector<std::wstring>& buttons)
{
    QMessageBox box(IconOf(flags), QString::fromStdWString(caption), QString::fromStdWString(text),
                    ButtonsOf(flags), parent_);
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (QAbstractButton* button = box.button(ButtonInOrder(flags, i))) {
            button->setText(QString::fromStdWString(buttons[i]));
        }
    }
    FitCaption(box);
    if (const QScreen* screen = parent_ != nullptr ? parent_->screen() : box.screen()) {
        FitMessageToScreen(box, screen->availableGeometry());
    }
    // Closing the box with Escape or the title bar counts as Cancel where there is one.
    if ((box.standardButtons() & QMessageBox::Cancel) != 0) {
        box.setEscapeButton(QMessageBox::Cancel);
    }
    return ResultOf(box.exec());
}
