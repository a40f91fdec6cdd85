// The memo editor: a plain text field with OK and Cancel. A memo left as it was comes back
// exactly as it came; typed text the store cannot hold is refused on OK so it never reaches an
// item or a list.
#include "editors/memo_edit_dlg.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "editors/dialog_controls.h"

namespace {

constexpr int kMemoField = 1029;

QString Shown(const std::wstring& text)
{
    return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

CMemoEditDlg::CMemoEditDlg(std::wstring text, MessageService& messages, QWidget* parent)
    : QDialog(parent), messages_(messages), text_(std::move(text))
{
    setWindowTitle(tr("Edit"));
    auto* layout = new QVBoxLayout(this);
    edit_ = Named(new QPlainTextEdit, kMemoField);
    edit_->setPlainText(Shown(text_));
    edit_->setTabChangesFocus(true);
    layout->addWidget(edit_);
    layout->addWidget(NewOkCancel(this));
    resize(420, 320);
}

void CMemoEditDlg::accept()
{
    QString shown = edit_->toPlainText();
    if (shown != Shown(text_)) {
        std::wstring edited = text_;
        const std::wstring typed =
            ToWString(shown.replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
        if (const Verdict refused = TakeText(typed, edited, TextKind::kMemo, kMemoField)) {
            ShowRefusal(*this, messages_, *refused);
            return;
        }
        text_ = edited;
    }
    lineCount_ = edit_->document()->blockCount();
    QDialog::accept();
}
