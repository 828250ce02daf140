#pragma once
// A one-line label for a path: it takes the width its layout gives it instead of
// widening the window to the path's length, draws the text shortened with "…" where it
// does not fit, and shows the whole text as its tool tip. text() is the whole text.
#include <QLabel>

namespace pelto::ui {

class ElidedLabel : public QLabel {
public:
    ElidedLabel(Qt::TextElideMode mode, QWidget* parent);

    // Sets the text and the tool tip.
    void SetFullText(const QString& text);
    // The text as drawn at the label's current width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode mode_;
};

} // namespace pelto::ui
