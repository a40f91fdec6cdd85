// Runs a dialog in Qt's modal loop. Dialogs are laid out for a usual desktop; on a small or
// scaled screen (QT_SCALE_FACTOR=2 on a 1080-line one) the fitting keeps every button in reach.
#include "app/qt_dialog_runner.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// The button box that ends the dialog's own layout, if one does.
QDialogButtonBox* ClosingButtons(QLayout& layout)
{
    QLayoutItem* last = layout.count() > 0 ? layout.itemAt(layout.count() - 1) : nullptr;
    return last != nullptr ? qobject_cast<QDialogButtonBox*>(last->widget()) : nullptr;
}

// The dialog's layout moves (with its widgets) into a scrolled page of its own.
void ScrollContent(QDialog& dialog)
{
    QLayout* content = dialog.layout();
    QDialogButtonBox* buttons = ClosingButtons(*content);
    auto* page = new QWidget;
    page->setLayout(content);
    if (buttons != nullptr) {
        content->removeWidget(buttons);
    }
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("dialogScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    auto* outer = new QVBoxLayout(&dialog);
    outer->addWidget(scroll, 1);
    if (buttons != nullptr) {
        outer->addWidget(buttons);
    }
    // A fixed-size layout had pinned the dialog's own size limits.
    dialog.setMinimumSize(0, 0);
    dialog.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

} // namespace

QSize RoomInside(const QRect& available)
{
    // What a title bar and the borders of the usual window managers take around a window.
    constexpr QSize kFrameAllowance(16, 48);
    return (available.size() - kFrameAllowance).expandedTo(QSize(1, 1));
}

void FitToScreen(QDialog& dialog, const QRect& available)
{
    const QSize room = RoomInside(available);
    dialog.ensurePolished();
    if (dialog.layout() != nullptr) {
        dialog.layout()->activate();
    }
    const QSize wanted = dialog.testAttribute(Qt::WA_Resized) ? dialog.size() : dialog.sizeHint();
    const QSize least = dialog.minimumSizeHint().expandedTo(dialog.minimumSize());
    if (dialog.layout() != nullptr &&
        (least.width() > room.width() || least.height() > room.height())) {
        ScrollContent(dialog);
        dialog.layout()->activate();
    }
    dialog.setMaximumSize(dialog.maximumSize().boundedTo(room));
    dialog.resize(wanted.boundedTo(room));
}

int QtDialogRunner::Run(QDialog& dialog)
{
    const QWidget* anchor = dialog.parentWidget() != nullptr ? dialog.parentWidget() : &dialog;
    if (const QScreen* screen = anchor->screen()) {
        FitToScreen(dialog, screen->availableGeometry());
    }
    return dialog.exec() == QDialog::Accepted ? DialogAccepted : DialogRejected;
}
