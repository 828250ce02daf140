#include "ui_common/user_choice.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace pelto::ui {

namespace {

bool IsEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Highlight changes are choices as they happen; a click that changes no highlight is a
// choice of the row it lands on, when that row is the highlighted one.
class RowChoiceWatcher : public QObject {
public:
    RowChoiceWatcher(QAbstractItemView* list, std::function<void(int)> chosen)
        : QObject(list), list_(list), listArea_(list->viewport()), chosen_(std::move(chosen)) {
        list->viewport()->installEventFilter(this);
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            ++highlightChanges_;
            if (const int row = ChosenRow(list_); row >= 0)
                chosen_(row);
        });
        connect(list, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
            if (highlightChanges_ == changesAtPress_ && index.isValid() &&
                index.row() == ChosenRow(list_))
                chosen_(index.row());
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == listArea_ && event->type() == QEvent::MouseButtonPress)
            changesAtPress_ = highlightChanges_;
        return false;
    }

private:
    QAbstractItemView* list_;
    QPointer<QWidget> listArea_; // compared by address only: it may go before this watcher
    std::function<void(int)> chosen_;
    unsigned long highlightChanges_ = 0;
    unsigned long changesAtPress_ = 0;
};

class RowActivationWatcher : public QObject {
public:
    RowActivationWatcher(QAbstractItemView* list, std::function<void(int)> activated)
        : QObject(list), list_(list), activated_(std::move(activated)) {
        list->installEventFilter(this);
        connect(list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            if (index.isValid())
                activated_(index.row());
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == list_ && IsEnter(event)) {
            int row = ChosenRow(list_);
            // Enter takes the row the focus is on, as Space would highlight it first.
            const QModelIndex current = list_->currentIndex();
            if (row < 0 && current.isValid() && list_->selectionModel()) {
                list_->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
                row = ChosenRow(list_);
            }
            if (row >= 0) {
                activated_(row);
                return true;
            }
        }
        return false;
    }

private:
    QAbstractItemView* list_;
    std::function<void(int)> activated_;
};

// QComboBox reports the wheel, arrow keys and typed letters on the closed box as
// "activated" too; only a pick in the open list (or Enter on the box) is a choice here.
// A pick closes the list first and reports the entry in the same event, so an
// "activated" that follows the list's closing (or a click or Enter inside it) is a
// pick. The mark is cleared as soon as control returns to the event loop.
class EntryChoiceWatcher : public QObject {
public:
    EntryChoiceWatcher(QComboBox* combo, std::function<void(int)> chosen)
        : QObject(combo), combo_(combo), list_(combo->view()), listArea_(combo->view()->viewport()),
          listFrame_(combo->view()->window()), chosen_(std::move(chosen)) {
        for (QObject* watched :
             {static_cast<QObject*>(combo_), static_cast<QObject*>(list_),
              static_cast<QObject*>(listArea_), static_cast<QObject*>(listFrame_)})
            watched->installEventFilter(this);
        connect(combo, &QComboBox::activated, this, [this](int index) {
            if (!picking_ || index < 0)
                return;
            picking_ = false;
            chosen_(index);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == combo_) {
            if (IsEnter(event) && listFrame_ && !listFrame_->isVisible() &&
                combo_->currentIndex() >= 0) {
                chosen_(combo_->currentIndex());
                return true;
            }
            return false;
        }
        const bool pick = (watched == listFrame_ && event->type() == QEvent::Hide) ||
                          (watched == listArea_ && event->type() == QEvent::MouseButtonRelease) ||
                          (watched == list_ && IsEnter(event));
        if (pick) {
            picking_ = true;
            QTimer::singleShot(0, this, [this] { picking_ = false; });
        }
        return false;
    }

private:
    QComboBox* combo_;
    // The open list's parts, watched by address only: they may go before this watcher.
    QPointer<QWidget> list_;
    QPointer<QWidget> listArea_;
    QPointer<QWidget> listFrame_;
    std::function<void(int)> chosen_;
    bool picking_ = false;
};

class EnterClicks : public QObject {
public:
    explicit EnterClicks(QAbstractButton* button) : QObject(button), button_(button) {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == button_ && IsEnter(event) && button_->isEnabled()) {
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat())
                button_->click();
            return true;
        }
        return false;
    }

private:
    QAbstractButton* button_;
};

} // namespace

void OnRowChosen(QAbstractItemView* list, std::function<void(int row)> chosen) {
    new RowChoiceWatcher(list, std::move(chosen));
}

void OnRowActivated(QAbstractItemView* list, std::function<void(int row)> activated) {
    new RowActivationWatcher(list, std::move(activated));
}

int ChosenRow(const QAbstractItemView* list) {
    const QItemSelectionModel* selection = list->selectionModel();
    if (!selection)
        return -1;
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return current.row();
    const QModelIndexList rows = selection->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void OnEntryChosen(QComboBox* combo, std::function<void(int index)> chosen) {
    new EntryChoiceWatcher(combo, std::move(chosen));
}

void ClickOnEnter(QAbstractButton* button) {
    if (button->property("clicksOnEnter").toBool())
        return;
    button->setProperty("clicksOnEnter", true);
    new EnterClicks(button);
}

void ClickFocusedButtonOnEnter(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>())
        ClickOnEnter(button);
}

} // namespace pelto::ui
