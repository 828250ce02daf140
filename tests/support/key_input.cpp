#include "support/key_input.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

namespace pelto::test {

bool TabTo(QWidget* window, QWidget* target) {
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return false;
    for (int press = 0; press < 100; ++press) {
        if (QApplication::focusWidget() == target)
            return true;
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return QApplication::focusWidget() == target;
}

void Wheel(QWidget* w, int steps) {
    const QPointF at = QPointF(w->rect().center());
    QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, 120 * steps), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

} // namespace pelto::test
