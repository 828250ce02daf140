#include "geometry_round_trip.h"

#include <QPointer>
#include <QRect>
#include <QTest>
#include <QWidget>

namespace pelto::test {

namespace {
QString Describe(const QRect& r) {
    return QStringLiteral("%1x%2 at (%3, %4)").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}
} // namespace

QString GeometryRoundTripProblem(const std::function<QWidget*()>& open,
                                 const std::function<void(QWidget*)>& close) {
    QWidget* first = open();
    if (!first || !QTest::qWaitForWindowExposed(first))
        return "the window does not open";
    const QRect opened(first->pos(), first->size());
    const QRect left(opened.topLeft() + QPoint(37, 23), opened.size() + QSize(90, 60));
    first->resize(left.size());
    first->move(left.topLeft());
    QCoreApplication::processEvents();
    const QRect before(first->pos(), first->size());
    if (before != left)
        return "the window does not take " + Describe(left) + ": " + Describe(before);
    QPointer<QWidget> closing(first); // a window may delete itself on closing
    close(first);
    if (closing && closing->isVisible())
        return "the window does not close";

    QWidget* second = open();
    if (!second || !QTest::qWaitForWindowExposed(second))
        return "the window does not open again";
    const QRect again(second->pos(), second->size());
    close(second);
    if (again != left)
        return "left at " + Describe(left) + ", opens again at " + Describe(again);
    return {};
}

} // namespace pelto::test
