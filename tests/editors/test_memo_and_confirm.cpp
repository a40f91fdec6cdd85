// The memo editor and the recurring-change question, driven through their controls.
#include <QLabel>
#include <QPlainTextEdit>

#include "editors/memo_edit_dlg.h"
#include "editors/recur_confirm_dlg.h"
#include "tests/editors/editor_fixture.h"

using MemoAndConfirmTest = DialogTest;

TEST_F(MemoAndConfirmTest, MemoLinesAndRefusalsAndTheConfirmationsKindsAndAnswers)
{
    const struct {
        QString typed;
        bool accepted;
        std::wstring text;
        int lines;
    } cases[] = {
        {QStringLiteral("Office\nHome\n"), true, L"Office\r\nHome\r\n", 3},
        {QStringLiteral("bell\a\f"), true, L"bell\a\f", 1},
        {QStringLiteral("separator\x1f"), false, L"Original\r\nmemo", 0},
    };
    for (const auto& c : cases) {
        CMemoEditDlg memo(L"Original\r\nmemo", messages_);
        auto* field = Control<QPlainTextEdit>(memo, 1029);
        EXPECT_EQ(field->toPlainText(), QStringLiteral("Original\nmemo"));
        field->setPlainText(c.typed);
        Click(memo, 1);
        EXPECT_EQ(memo.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(memo.Text(), c.text);
        EXPECT_EQ(memo.LineCount(), c.lines);
    }
    // An imported memo left as it was comes back exactly, its form feed and lone LF included.
    CMemoEditDlg imported(L"page\fnext\nline", messages_);
    Click(imported, 1);
    EXPECT_EQ(imported.Text(), L"page\fnext\nline");
    CMemoEditDlg cancelled(L"Kept", messages_);
    Control<QPlainTextEdit>(cancelled, 1029)->setPlainText(QStringLiteral("Lost"));
    Click(cancelled, 2);
    EXPECT_EQ(cancelled.Text(), L"Kept");
    const std::pair<int, const char*> kinds[] = {
        {1, "(create new exception)"},  {2, "(edit exists exception)"},
        {3, "(edit exists exception)"}, {4, "(cancel exception)"},
        {7, "Exception appoint info"},
    };
    for (const auto& [kind, text] : kinds) {
        CRecurConfirmDlg confirm(kind, settings_, messages_);
        EXPECT_EQ(Control<QLabel>(confirm, 1131)->text(), text);
    }
    const std::pair<int, int> answers[] = {{1065, 1}, {1096, 2}, {2, 0}};
    for (const auto& [button, result] : answers) {
        CRecurConfirmDlg confirm(1, settings_, messages_);
        Click(confirm, button);
        EXPECT_EQ(settings_.GetLastEditResult(), result) << button;
        EXPECT_EQ(confirm.result() == QDialog::Accepted, result != 0);
    }
}
