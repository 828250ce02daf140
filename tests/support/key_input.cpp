#include "support/key_input.h"

#include <QApplication>
#include <QString>
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

void TypeText(QWidget* w, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(w, Qt::Key_Return);
        } else if (c.unicode() < 0x80) {
            QTest::keyClick(w, c.toLatin1());
        } else {
            QString one(c);
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                one += text.at(++i);
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, one, Qt::NoModifier);
        }
    }
}

} // namespace pelto::test
