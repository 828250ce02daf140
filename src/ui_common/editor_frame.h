#pragma once
// One editor frame of the parameter page. The page keeps 13 of them stacked at the
// same place, one per parameter kind; ShowParameter fills the frame of a parameter's
// kind from its record (Show), CommitParameter stores the editor back (Commit).
#include "library/workspace.h"

#include <QGroupBox>
#include <QString>

#include <cstdint>

class QLabel;

namespace pelto::ui {

class EditorFrame : public QGroupBox {
public:
    EditorFrame(Workspace& ws, int kind, const QString& fixedCaption, QWidget* parent);

    // Fills the editor from the record with this ordinal (1-based index in the kind's
    // table; the single records ignore it).
    virtual void Show(int16_t ordinal) = 0;
    // Stores the editor into the record. Kinds whose values are stored as they are
    // edited, or that hold nothing, leave the default.
    virtual void Commit(int16_t ordinal) { (void)ordinal; }
    // False, after a message, when the editor holds a value the record cannot take (a
    // character the files cannot hold); the page then keeps the user on this parameter.
    virtual bool CanCommit(int16_t ordinal) {
        (void)ordinal;
        return true;
    }

    QLabel* lblDescription = nullptr;

protected:
    // The frame caption and the description line, as most kinds set them.
    void SetCaptionAndDescription(const std::string& name, const std::string& description);
    // Where the editors put their controls (above the description line).
    QWidget* Body() const { return body_; }

    Workspace& ws_;

private:
    QWidget* body_ = nullptr;
};

// Gives a control its object name and, for screen readers and test robots, its
// caption as accessible name.
template <class W> W* Named(W* w, const QString& objectName, const QString& caption = QString()) {
    w->setObjectName(objectName);
    if (!caption.isEmpty())
        w->setAccessibleName(caption);
    return w;
}

// A label for a text from the effect's files: shown as written, never read as markup.
QLabel* PlainLabel(QWidget* parent);

// Sets a box's accessible name from its caption, or a fallback when the caption is empty.
void NameAfterCaption(QWidget* w, const QString& caption, const QString& fallback);

} // namespace pelto::ui
