// The category settings dialog: it shows the four settings, "..." composes the target, OK
// stores them, Enter and Escape act as OK and Cancel, and a bad text is refused.
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "dialog_test_support.h"
#include "dialogs/category_set_dlg.h"

namespace {

QComboBox* Combo(const QDialog& dialog, int id)
{
    return Control<QComboBox>(dialog, id);
}

class CategorySetDlgTest : public DialogTest {
protected:
    CategorySetDlgTest()
    {
        for (const wchar_t* name : {L"Rest", L"Memorial", L"Work"})
            settings.AppendListItem(SettingsList::CategoryInfo, name);
        settings.SetHolidayCategory(L"Rest");
        settings.SetMemorialCategory(L"Memorial");
        settings.SetCategoryCtrType(2);
        settings.SetCategoryCtrTarget(L"Work");
    }
};

}  // namespace

TEST_F(CategorySetDlgTest, ShowsTheSettingsAndOkStoresThemWithTheComposedTarget)
{
    dialogs.Queue([](QDialog& dialog) {
        EXPECT_EQ(Combo(dialog, 1102)->currentText(), "Rest");
        EXPECT_EQ(Combo(dialog, 1104)->currentText(), "Memorial");
        EXPECT_EQ(Combo(dialog, 1024)->currentText(), "Hide Target");
        EXPECT_EQ(Combo(dialog, 1180)->count(), 3);
        Combo(dialog, 1102)->setEditText("Off day");
        Combo(dialog, 1024)->setCurrentIndex(1);
        Control<QPushButton>(dialog, 1181)->click();
        EXPECT_EQ(Combo(dialog, 1180)->currentText(), "Work, Rest");
        dialog.accept();
        return dialog.result();
    });
    dialogs.Queue([](QDialog& selection) {
        Control<QListWidget>(selection, 1177)->setCurrentRow(0);
        Control<QPushButton>(selection, 1067)->click();
        return DialogAccepted;
    });
    EXPECT_TRUE(CCategorySetDlg::Run(settings, dialogs, messages));
    EXPECT_EQ(settings.GetHolidayCategory(), L"Off day");
    EXPECT_EQ(settings.GetMemorialCategory(), L"Memorial");
    EXPECT_EQ(settings.GetCategoryCtrType(), 1);
    EXPECT_EQ(settings.GetCategoryCtrTarget(), L"Work, Rest");
}

TEST_F(CategorySetDlgTest, EnterAndEscapeActAsOkAndCancel)
{
    const struct {
        Qt::Key key;
        int result;
    } cases[] = {{Qt::Key_Return, QDialog::Accepted}, {Qt::Key_Escape, QDialog::Rejected}};
    for (const auto& c : cases) {
        CCategorySetDlg dialog(settings, dialogs, messages);
        dialog.show();
        QLineEdit* edit = Combo(dialog, 1104)->lineEdit();
        edit->setFocus();
        edit->setText("Anniversary");
        QTest::keyClick(edit, c.key);
        EXPECT_EQ(dialog.result(), c.result) << c.key;
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(settings.GetMemorialCategory(), L"Anniversary");
}

TEST_F(CategorySetDlgTest, ControlCharactersAreRefusedWithTheFocusOnTheirCombo)
{
    CCategorySetDlg dialog(settings, dialogs, messages);
    Combo(dialog, 1180)->setEditText(QString::fromStdWString(L"Work\x1fHome"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, res::LoadString(res::IDS_CONTROL_CHARACTERS));
    EXPECT_TRUE(FocusIsOn(dialog, 1180));
    EXPECT_EQ(settings.GetCategoryCtrTarget(), L"Work");
}
