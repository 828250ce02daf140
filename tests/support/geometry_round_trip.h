#pragma once
// Checks that a window comes back where the user left it: opened, moved and resized,
// closed, and opened again.
#include <QString>
#include <functional>

class QWidget;

namespace pelto::test {

// open() shows a fresh window; close(window) closes it the way a user would. Between the
// two openings the window is moved and made larger. Returns "" when the second window
// has the first one's last size and position, else what differs.
QString GeometryRoundTripProblem(const std::function<QWidget*()>& open,
                                 const std::function<void(QWidget*)>& close);

} // namespace pelto::test
