#include "ui_common/editor_frame.h"

#include "platform/text_codec.h"

#include <QLabel>
#include <QVBoxLayout>

namespace pelto::ui {

EditorFrame::EditorFrame(Workspace& ws, int kind, const QString& fixedCaption, QWidget* parent)
    : QGroupBox(fixedCaption, parent), ws_(ws) {
    setObjectName(QStringLiteral("FrameDataType_%1").arg(kind));
    setAccessibleName(fixedCaption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(3);
    body_ = new QWidget(this);
    layout->addWidget(body_, 1);
    lblDescription = Named(new QLabel(this), QStringLiteral("lblDescription_%1").arg(kind));
    // Definition texts are shown as they are written, never read as markup.
    lblDescription->setTextFormat(Qt::PlainText);
    lblDescription->setWordWrap(true);
    lblDescription->setMaximumHeight(fontMetrics().lineSpacing() * 2 + 2);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(lblDescription);
}

void EditorFrame::SetCaptionAndDescription(const std::string& name,
                                           const std::string& description) {
    setTitle(FromBytes(name));
    lblDescription->setText(FromBytes(description));
    lblDescription->setToolTip(lblDescription->text());
}

QLabel* PlainLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void NameAfterCaption(QWidget* w, const QString& caption, const QString& fallback) {
    w->setAccessibleName(caption.isEmpty() ? fallback : caption);
}

} // namespace pelto::ui
