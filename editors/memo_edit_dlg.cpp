// The memo editor: a plain text field with OK and Cancel. A text too long or holding control
// characters is refused on OK so it never reaches an item or a list.
#include "editors/memo_edit_dlg.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "editors/dialog_controls.h"

namespace {

constexpr int kMemoField = 1029;

} // namespace

CMemoEditDlg::CMemoEditDlg(std::wstring text, MessageService& messages, QWidget* parent)
    : QDialog(parent), messages_(messages), text_(std::move(text))
{
    setWindowTitle(tr("Edit"));
    auto* layout = new QVBoxLayout(this);
    edit_ = Named(new QPlainTextEdit, kMemoField);
    edit_->setPlainText(ToQString(text_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    edit_->setTabChangesFocus(true);
    layout->addWidget(edit_);
    layout->addWidget(NewOkCancel(this));
    resize(420, 320);
}

void CMemoEditDlg::accept()
{
    const std::wstring edited =
        ToWString(edit_->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    if (const Verdict refused = CheckMemoText(edited, kMemoField)) {
        ShowRefusal(*this, messages_, *refused);
        return;
    }
    text_ = edited;
    lineCount_ = edit_->document()->blockCount();
    QDialog::accept();
}
