// Every window at its own size, at the least size it allows and larger: its controls lie
// inside their parents, never on top of one another, and their captions fit. The same
// test runs again at twice the scale.
#include "attach/ui/frm_apply_changes.h"
#include "attach/ui/frm_undo_history.h"
#include "shell/frm_cats.h"
#include "shell/frm_options.h"
#include "shell/frm_select_script.h"
#include "shell_fixture.h"
#include "ui_common/frm_browse_file.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <functional>
#include <memory>

using namespace pelto;
using namespace pelto::ui;

namespace {

// Widgets that draw their own insides: their children are not the window's controls.
bool DrawsItsOwnInsides(const QWidget* w) {
    return qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractButton*>(w);
}

QString Name(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

// What is wrong with the controls under parent, or "" when nothing is.
QString RoomProblem(QWidget* parent) {
    QList<QWidget*> shown;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisible() && !w->isWindow())
            shown << w;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        QWidget* a = shown[i];
        if (!parent->rect().contains(a->geometry()))
            return QString("%1 reaches outside %2").arg(Name(a), Name(parent));
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            if (a->geometry().intersects(shown[j]->geometry()))
                return QString("%1 and %2 overlap").arg(Name(a), Name(shown[j]));
        if (auto* b = qobject_cast<QPushButton*>(a);
            b && !b->text().isEmpty() &&
            b->fontMetrics().horizontalAdvance(b->text()) >= b->width())
            return QString("the caption of %1 does not fit").arg(Name(b));
        if ((qobject_cast<QCheckBox*>(a) || qobject_cast<QRadioButton*>(a)) &&
            a->width() < a->sizeHint().width())
            return QString("the caption of %1 does not fit").arg(Name(a));
        if (auto* l = qobject_cast<QLabel*>(a);
            l && !l->wordWrap() && l->pixmap().isNull() && l->textFormat() == Qt::PlainText &&
            !l->text().contains('\n') &&
            l->fontMetrics().horizontalAdvance(l->text()) > l->contentsRect().width())
            return QString("the text of %1 does not fit").arg(Name(l));
        if (a->height() < a->minimumSizeHint().height() && a->minimumSizeHint().height() > 0)
            return QString("%1 is squeezed below its least height").arg(Name(a));
        if (!DrawsItsOwnInsides(a))
            if (QString problem = RoomProblem(a); !problem.isEmpty())
                return problem;
    }
    return {};
}

using MakeWindow = std::function<QWidget*(test::ShellFixture&)>;

} // namespace

Q_DECLARE_METATYPE(MakeWindow)

class TestWindowRooms : public QObject {
    Q_OBJECT

private slots:
    // The check itself sees overlapping controls, a control outside its parent and a
    // caption cut short.
    void theCheckSeesWhatIsWrong() {
        QWidget window;
        window.resize(300, 200);
        auto* group = new QWidget(&window);
        group->setObjectName("Group");
        group->setGeometry(10, 10, 200, 100);
        auto* ok = new QPushButton("OK", group);
        ok->setObjectName("Ok");
        ok->setGeometry(10, 10, 80, 30);
        auto* cancel = new QPushButton("Cancel", group);
        cancel->setObjectName("Cancel");
        cancel->setGeometry(100, 10, 80, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(RoomProblem(&window), QString());
        cancel->move(60, 10);
        QCOMPARE(RoomProblem(&window), QString("Ok and Cancel overlap"));
        cancel->setGeometry(100, 80, 80, 30);
        QCOMPARE(RoomProblem(&window), QString("Cancel reaches outside Group"));
        cancel->setGeometry(100, 10, 12, 30);
        QCOMPARE(RoomProblem(&window), QString("the caption of Cancel does not fit"));
    }

    void controlsKeepTheirRoom_data() {
        QTest::addColumn<MakeWindow>("make");
        QTest::newRow("main window") << MakeWindow(
            [](test::ShellFixture& fx) -> QWidget* { return new FrmCats(fx.ws, fx.flow); });
        QTest::newRow("script selection") << MakeWindow([](test::ShellFixture& fx) -> QWidget* {
            fx.ws.CurrentCategory = "Menus";
            return new FrmSelectScript(fx.ws, fx.flow);
        });
        QTest::newRow("options") << MakeWindow(
            [](test::ShellFixture& fx) -> QWidget* { return new FrmOptions(fx.ws); });
        QTest::newRow("file browser") << MakeWindow(
            [](test::ShellFixture& fx) -> QWidget* { return new FrmBrowseFile(fx.ws); });
        QTest::newRow("apply dialog") << MakeWindow([](test::ShellFixture& fx) -> QWidget* {
            fx.ws.CurrentScriptIndex = 1;
            return new FrmApplyChanges(fx.ws);
        });
        QTest::newRow("undo history") << MakeWindow(
            [](test::ShellFixture& fx) -> QWidget* { return new FrmUndoHistory(fx.ws); });
    }
    void controlsKeepTheirRoom() {
        QFETCH(MakeWindow, make);
        test::ShellFixture fx;
        for (int i = 1; i <= 12; ++i)
            fx.AddScript({"s" + std::to_string(10 + i) + ".hdr", "s" + std::to_string(i),
                          "Effect number " + std::to_string(i),
                          "What effect " + std::to_string(i) + " does, in a sentence or two.",
                          i % 2 ? "Menus" : "Clocks and other things that tick"});
        fx.Load();
        std::unique_ptr<QWidget> window(make(fx));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QSize own = window->size();
        const QSize least =
            window->minimumSize().isEmpty() ? window->minimumSizeHint() : window->minimumSize();
        for (const QSize size : {own, least, own + QSize(300, 200)}) {
            window->resize(size);
            QApplication::processEvents();
            const QString problem = RoomProblem(window.get());
            QVERIFY2(problem.isEmpty(), qPrintable(QString("%1 at %2x%3")
                                                       .arg(problem)
                                                       .arg(window->width())
                                                       .arg(window->height())));
        }
    }
};

QTEST_MAIN(TestWindowRooms)
#include "test_window_rooms.moc"
