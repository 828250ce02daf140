#include "parampage/text_editor.h"

#include "platform/text_codec.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace pelto::ui {

TextEditor::TextEditor(Workspace& ws, QWidget* parent) : EditorFrame(ws, Text, "Text", parent) {
    auto* layout = new QVBoxLayout(Body());
    layout->setContentsMargins(0, 0, 0, 0);
    TxtText = Named(new QPlainTextEdit(Body()), "TxtText", "Text");
    TxtText->setTabChangesFocus(true);
    layout->addWidget(TxtText);
}

void TextEditor::Show(int16_t ordinal) {
    const TextParameter& p = ws_.Params.TextParameters[ordinal];
    SetCaptionAndDescription(p.Name, p.Description);
    QString text = FromBytes(p.Value);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    TxtText->setPlainText(text);
}

namespace {
// Line breaks are kept as the files write them (CR LF).
QString FileText(const QPlainTextEdit* box) {
    return box->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}
} // namespace

void TextEditor::Commit(int16_t ordinal) {
    ws_.Params.TextParameters[ordinal].Value = ToBytes(FileText(TxtText));
}

} // namespace pelto::ui
