#include "Memos.h"

#include <QTextBlock>
#include <QTextEdit>

TCustomMemo::TCustomMemo(TComponent* owner) : TWinControl(owner), edit_(new QTextEdit)
{
    edit_->setAcceptRichText(false);
    SetWidget(edit_);
    SetTabStop(true);
    SetColor(clWindow);
    SetBorderStyle(bsSingle);
    QObject::connect(edit_, &QTextEdit::textChanged, [this] { GuardedCall([this] { Fire(OnChange, this); }); });
}

String TCustomMemo::Text() const { return edit_->toPlainText().toStdString(); }

void TCustomMemo::SetText(const String& text) { edit_->setPlainText(QString::fromStdString(text)); }

int TCustomMemo::LineCount() const { return Text().empty() ? 0 : edit_->document()->blockCount(); }

String TCustomMemo::Line(int index) const
{
    if (index < 0 || index >= LineCount())
        ListIndexError(index);
    return edit_->document()->findBlockByNumber(index).text().toStdString();
}

void TCustomMemo::AddLine(const String& line) { edit_->append(QString::fromStdString(line)); }

bool TCustomMemo::ReadOnly() const { return edit_->isReadOnly(); }
void TCustomMemo::SetReadOnly(bool on) { edit_->setReadOnly(on); }

TRichEdit::TRichEdit(TComponent* owner) : TCustomMemo(owner) { edit_->setAcceptRichText(true); }
