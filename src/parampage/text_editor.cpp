#include "parampage/text_editor.h"

#include "ui_common/text_input.h"
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

void TextEditor::Commit(int16_t ordinal) {
    // Line breaks are kept as the files write them (CR LF).
    QString text = TxtText->toPlainText();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    std::string bytes;
    if (AcceptTypedText(this, text, bytes))
        ws_.Params.TextParameters[ordinal].Value = std::move(bytes);
}

} // namespace pelto::ui
