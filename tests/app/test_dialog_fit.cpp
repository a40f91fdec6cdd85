// Dialogs fitted to a small screen's available area: the Keys and Mouse page shrinks to it with
// its OK button in view, and a long message keeps its head on the screen.
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

#include "app/qt_dialog_runner.h"
#include "app/qt_message_service.h"
#include "dialogs/keys_and_mouse_dlg.h"
#include "view/keys_and_mouse.h"

namespace {
// A 1920x1080 screen at QT_SCALE_FACTOR=2 less a panel, in device-independent pixels.
const QRect kScaledScreen(0, 0, 960, 510);

// Whether `button` shows whole within its dialog once the dialog is laid out.
bool ShownWhole(const QDialog& dialog, const QPushButton& button)
{
    const QRect at(button.mapTo(&dialog, QPoint(0, 0)), button.size());
    return button.isVisible() && dialog.rect().contains(at);
}

TEST(DialogFit, DialogsStayInsideTheScreenWithTheirButtonsInView)
{
    CKeysAndMouseDlg keys(KeysAndMouse({}));
    FitToScreen(keys, kScaledScreen);
    keys.show();
    EXPECT_LE(keys.width(), 960 - 16);
    EXPECT_LE(keys.height(), 510 - 48);
    EXPECT_GT(keys.height(), 300); // shrunk to the screen, not to nothing
    QPushButton* ok = keys.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_TRUE(ShownWhole(keys, *ok));
    EXPECT_EQ(keys.findChild<QScrollArea*>("dialogScroll"), nullptr); // its table scrolls
}

// A report of many lines shows its head on the screen and the whole in its details.
TEST(DialogFit, ALongMessageShowsItsHeadAndKeepsTheWholeInItsDetails)
{
    QStringList lines;
    for (int i = 1; i <= 200; ++i) {
        lines << QStringLiteral("Item %1 was refused by the server.").arg(i);
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Sync"), lines.join('\n'));
    FitMessageToScreen(box, kScaledScreen);
    EXPECT_LE(box.sizeHint().height(), 510 - 48);
    EXPECT_TRUE(box.text().startsWith(QStringLiteral("Item 1 was refused")));
    EXPECT_TRUE(box.text().endsWith(QChar(0x2026)));
    EXPECT_EQ(box.detailedText(), lines.join('\n'));
}
} // namespace
