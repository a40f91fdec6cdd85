// The character set dialog: OK writes the nine settings, a refused size keeps what was stored
// before it, and the face fields offer the installed font families.
#include <QFontDatabase>

#include "dialog_test_support.h"
#include "dialogs/char_set_dlg.h"

namespace {

class CharSetDlgTest : public DialogTest {};

TEST_F(CharSetDlgTest, OkWritesFontsLengthAndMarkers)
{
    dialogs.Queue(AcceptAfter([](QDialog& dialog) {
        EXPECT_EQ(Control<QComboBox>(dialog, 1030)->currentText(), QStringLiteral("system"));
        EXPECT_EQ(Control<QLineEdit>(dialog, 1034)->text(), QStringLiteral("^"));
        Type(dialog, 1030, QStringLiteral("Serif"));
        Type(dialog, 1115, QStringLiteral("6"));
        Type(dialog, 1031, QStringLiteral("Mono"));
        Type(dialog, 1116, QStringLiteral("200"));
        Type(dialog, 1032, QStringLiteral("0"));
        Type(dialog, 1033, QString());
        Type(dialog, 1036, QStringLiteral("]"));
    }));
    EXPECT_TRUE(RunCharSetDialog(context));
    AppSettings expected;
    expected.SetMainFontName(L"Serif");
    expected.SetMainFontSize(6);
    expected.SetDetailFontName(L"Mono");
    expected.SetDetailFontSize(200);
    expected.SetDispTextLen(0);
    expected.SetTaskStartChar(L"");
    expected.SetAppHideCharR(L"]");
    ExpectSameSettings(settings, expected);
}

TEST_F(CharSetDlgTest, RefusedSizeKeepsWhatWasStoredBeforeIt)
{
    CCharSetDlg dialog(settings, messages);
    Type(dialog, 1030, QStringLiteral("Serif"));
    Type(dialog, 1031, QStringLiteral("Mono"));
    Type(dialog, 1115, QStringLiteral("12"));
    Type(dialog, 1116, QStringLiteral("4"));
    Type(dialog, 1035, QStringLiteral("["));
    EXPECT_FALSE(PressOk(dialog));
    EXPECT_TRUE(FocusIsOn(dialog, 1116));
    EXPECT_EQ(Warnings(), std::vector<std::wstring>{L"Please set over 6 font size"});
    EXPECT_EQ(settings.GetMainFontName(), L"Serif");
    EXPECT_EQ(settings.GetDetailFontName(), L"Mono");
    EXPECT_EQ(settings.GetDetailFontSize(), 16);
    EXPECT_EQ(settings.GetAppHideCharL(), L"<<");
}

TEST_F(CharSetDlgTest, FaceFieldsOfferTheInstalledFamilies)
{
    CCharSetDlg dialog(settings, messages);
    const auto* faces = Control<QComboBox>(dialog, 1031);
    EXPECT_EQ(faces->count(), QFontDatabase::families().size());
    EXPECT_TRUE(faces->isEditable());
}

}  // namespace
