// The memo editor: a plain text field with OK and Cancel. A text too long or holding control
// characters is refused on OK so it never reaches an item or a list.
#include "editors/memo_edit_dlg.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/dialog_controls.h"
#include "editors/text_rules.h"

CMemoEditDlg::CMemoEditDlg(std::wstring text, MessageService& messages, QWidget* parent)
    : QDialog(parent), messages_(messages), text_(std::move(text))
{
    setWindowTitle(tr("Edit"));
    auto* layout = new QVBoxLayout(this);
    edit_ = Named(new QPlainTextEdit, 1029);
    edit_->setPlainText(ToQt(text_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    edit_->setTabChangesFocus(true);
    layout->addWidget(edit_);
    QPushButton* ok = AddOkButton(*layout, *this);
    connect(ok, &QPushButton::clicked, this, &CMemoEditDlg::OnOk);
    resize(420, 320);
}

void CMemoEditDlg::OnOk()
{
    const std::wstring edited =
        FromQt(edit_->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    if (const int problem = MemoTextProblem(edited)) {
        ShowWarning(messages_, problem);
        edit_->setFocus();
        return;
    }
    text_ = edited;
    lineCount_ = edit_->document()->blockCount();
    accept();
}
