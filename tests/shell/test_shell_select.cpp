// The script selection: page rules, the drop-down list, "Go", "Back" and the window's
// size.
#include "shell/frm_select_script.h"
#include "shell_fixture.h"
#include "support/geometry_round_trip.h"
#include "support/key_input.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace pelto;
using namespace pelto::ui;

namespace {

// Opens the drop-down list from the keyboard, steps down to entry and takes it with Enter.
void PickInOpenList(QComboBox* box, int entry) {
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(box->view()->isVisible());
    QTest::keyClick(box->view(), Qt::Key_Home);
    for (int i = 0; i < entry; ++i)
        QTest::keyClick(box->view(), Qt::Key_Down);
    QTest::keyClick(box->view(), Qt::Key_Return);
    QVERIFY(!box->view()->isVisible());
}

// The names in the visible slots, top to bottom.
QStringList VisibleNames(FrmSelectScript& w) {
    QStringList names;
    for (int i = 0; i < FrmSelectScript::kMaxSlots; ++i) {
        const bool shown = w.LblScriptCation[i]->isVisibleTo(&w);
        // The four controls of a slot are shown and hidden together.
        if (shown != w.LblScriptDescription[i]->isVisibleTo(&w) ||
            shown != w.ImgScriptImage[i]->isVisibleTo(&w) ||
            shown != w.CmdGetScriptParameters[i]->isVisibleTo(&w))
            return {"<slot " + QString::number(i) + " half shown>"};
        if (shown)
            names << w.LblScriptCation[i]->text();
    }
    return names;
}

QStringList ListEntries(FrmSelectScript& w) {
    QStringList entries;
    for (int i = 0; i < w.LstAllScripts->count(); ++i)
        entries << w.LstAllScripts->itemText(i);
    return entries;
}

} // namespace

class TestFrmSelectScript : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ShellFixture> fx;

    // count scripts "N1".."Ncount" of category "Pick", interleaved with scripts of other
    // categories (one of them differs only in letter case).
    void LoadPick(int count) {
        for (int i = 1; i <= count; ++i) {
            const std::string n = std::to_string(i);
            const std::string stem = (i < 10 ? "0" : "") + n;
            fx->AddScript({"p" + stem + "a.hdr", "pick" + n, "N" + n, "Description " + n, "Pick"});
            fx->AddScript({"p" + stem + "b.hdr", "other" + n, "Other" + n, "", "pick"});
        }
        fx->AddScript({"z.hdr", "zed", "Zed", "", "Else"});
        fx->Load();
        fx->ws.CurrentCategory = "Pick";
    }
    static QStringList Names(int from, int to) {
        QStringList names;
        for (int i = from; i <= to; ++i)
            names << QStringLiteral("N%1").arg(i);
        return names;
    }

private slots:
    void init() { fx = std::make_unique<test::ShellFixture>(); }
    void cleanup() { fx.reset(); }

    void pageRules_data() {
        QTest::addColumn<int>("scripts");
        QTest::addColumn<int>("forward"); // presses of ">"
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("nextVisible");
        QTest::newRow("5: one full page") << 5 << 0 << Names(1, 5) << false;
        QTest::newRow("6: first page") << 6 << 0 << Names(1, 5) << true;
        QTest::newRow("6: second page") << 6 << 1 << Names(6, 6) << false;
        QTest::newRow("11: middle page") << 11 << 1 << Names(6, 10) << true;
        QTest::newRow("11: last page") << 11 << 2 << Names(11, 11) << false;
        QTest::newRow("1") << 1 << 0 << Names(1, 1) << false;
        QTest::newRow("0: nothing to page") << 0 << 0 << QStringList() << false;
    }
    void pageRules() {
        QFETCH(int, scripts);
        QFETCH(int, forward);
        QFETCH(QStringList, shown);
        QFETCH(bool, nextVisible);
        LoadPick(scripts);
        FrmSelectScript w(fx->ws, fx->flow);
        w.show();
        for (int i = 0; i < forward; ++i)
            QTest::mouseClick(w.Command2, Qt::LeftButton);
        QCOMPARE(int(w.PageNumber()), forward + 1);
        QCOMPARE(VisibleNames(w), shown);
        QCOMPARE(w.Command2->isVisible(), nextVisible);
        // "<" only where there is a page before (none in a category of one page).
        QCOMPARE(w.Command1->isVisible(), forward > 0);
        QCOMPARE(w.LblNoScripts->isVisible(), scripts == 0);
        QCOMPARE(ListEntries(w), Names(1, scripts)); // every page lists them all
        QCOMPARE(w.LstAllScripts->currentIndex(), -1);
    }

    void slotsShowNameDescriptionAndIndex() {
        LoadPick(6);
        FrmSelectScript w(fx->ws, fx->flow);
        w.Command2_Click();
        QCOMPARE(w.LblScriptCation[0]->text(), QString("N6"));
        QCOMPARE(w.LblScriptDescription[0]->text(), QString("Description 6"));
        // Library order interleaves "pick" scripts: N6 is library entry 11.
        QCOMPARE(w.CmdGetScriptParameters[0]->property("Tag").toString(), QString("11"));
        QCOMPARE(w.LstAllScripts->itemData(5).toInt(), 11);
    }

    void previousStopsAtPageOne() {
        LoadPick(11);
        FrmSelectScript w(fx->ws, fx->flow);
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        QCOMPARE(int(w.PageNumber()), 1);
        QCOMPARE(VisibleNames(w), Names(1, 5));
        w.Command2_Click();
        w.Command2_Click();
        w.Command1_Click();
        QCOMPARE(int(w.PageNumber()), 2);
        QCOMPARE(VisibleNames(w), Names(6, 10));
    }

    void goSetsTheLibraryIndexAndCloses() {
        LoadPick(7);
        FrmSelectScript w(fx->ws, fx->flow);
        w.show();
        w.Command2_Click();
        bool modal = true;
        fx->flow.hook = [&](const QString&) { modal = w.OpensModalPage(); };
        QTest::mouseClick(w.CmdGetScriptParameters[1], Qt::LeftButton); // N7
        QCOMPARE(int(fx->ws.CurrentScriptIndex), 13);
        QCOMPARE(QString::fromStdString(fx->ws.CurrentParameterFile), QString("p07a.par"));
        QCOMPARE(fx->flow.calls, QStringList{"ShowParameterPage"});
        QVERIFY(!modal);
        QVERIFY(!w.isVisible());
    }

    void dropDownOpensAModalPageAndStays() {
        LoadPick(3);
        FrmSelectScript w(fx->ws, fx->flow);
        w.show();
        bool modal = false;
        fx->flow.hook = [&](const QString&) { modal = w.OpensModalPage(); };
        PickInOpenList(w.LstAllScripts, 2); // N3, library entry 5
        QCOMPARE(int(fx->ws.CurrentScriptIndex), 5);
        QCOMPARE(QString::fromStdString(fx->ws.CurrentParameterFile), QString("p03a.par"));
        QCOMPARE(fx->flow.calls, QStringList{"ShowParameterPage"});
        QVERIFY(modal);
        QVERIFY(!w.OpensModalPage());
        QVERIFY(w.isVisible());
        // The list is ready for the next choice, the same one included.
        PickInOpenList(w.LstAllScripts, 2);
        QCOMPARE(fx->flow.calls.size(), 2);
    }

    void wheelArrowsAndLettersOnlyStepThroughTheList() {
        LoadPick(3);
        FrmSelectScript w(fx->ws, fx->flow);
        QVERIFY(test::TabTo(&w, w.LstAllScripts));
        QTest::keyClick(w.LstAllScripts, Qt::Key_Down);
        QCOMPARE(w.LstAllScripts->currentIndex(), 0);
        QTest::keyClick(w.LstAllScripts, Qt::Key_Down);
        QCOMPARE(w.LstAllScripts->currentIndex(), 1);
        test::Wheel(w.LstAllScripts, -1);
        QCOMPARE(w.LstAllScripts->currentIndex(), 2);
        QTest::keyClicks(w.LstAllScripts, "N1");
        QCOMPARE(w.LstAllScripts->currentIndex(), 0);
        QVERIFY(fx->flow.calls.isEmpty());
        QCOMPARE(int(fx->ws.CurrentScriptIndex), 0);
        // Enter on the closed list opens the entry it shows.
        QTest::keyClick(w.LstAllScripts, Qt::Key_Down);
        QTest::keyClick(w.LstAllScripts, Qt::Key_Return);
        QCOMPARE(fx->flow.calls, QStringList{"ShowParameterPage"});
        QCOMPARE(int(fx->ws.CurrentScriptIndex), 3); // N2
    }

    void enterOnAFocusedButtonPressesIt_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }
    void enterOnAFocusedButtonPressesIt() {
        QFETCH(int, key);
        LoadPick(7);
        FrmSelectScript w(fx->ws, fx->flow);
        QVERIFY(test::TabTo(&w, w.Command2));
        QTest::keyClick(w.Command2, Qt::Key(key)); // ">"
        QCOMPARE(int(w.PageNumber()), 2);
        QVERIFY(test::TabTo(&w, w.CmdGetScriptParameters[1]));
        QTest::keyClick(w.CmdGetScriptParameters[1], Qt::Key(key));
        QCOMPARE(fx->flow.calls, QStringList{"ShowParameterPage"});
        QCOMPARE(w.CmdGetScriptParameters[1]->property("Tag").toString(),
                 QString::number(fx->ws.CurrentScriptIndex));
    }

    void pagingDoesNotChoose() {
        LoadPick(8);
        FrmSelectScript w(fx->ws, fx->flow);
        w.Command2_Click();
        w.Command1_Click();
        QVERIFY(fx->flow.calls.isEmpty());
        QCOMPARE(int(fx->ws.CurrentScriptIndex), 0);
    }

    void backReturnsToTheMainWindow() {
        LoadPick(2);
        FrmSelectScript w(fx->ws, fx->flow);
        w.show();
        QTest::mouseClick(w.Command3, Qt::LeftButton);
        QCOMPARE(fx->flow.calls, QStringList{"ShowCategories"});
        QVERIFY(!w.isVisible());
    }

    void captionsAndSize() {
        LoadPick(2);
        FrmSelectScript w(fx->ws, fx->flow);
        QCOMPARE(w.windowTitle(), QString("Choose a Script"));
        QCOMPARE(w.Command1->text(), QString("<"));
        QCOMPARE(w.Command2->text(), QString(">"));
        QCOMPARE(w.Command3->text(), QString("Back"));
        QCOMPARE(w.CmdGetScriptParameters[0]->text(), QString("Go"));
        const QRect screen = w.screen()->availableGeometry();
        QCOMPARE(w.width(), screen.width() * 9 / 10);
        QVERIFY(qAbs(w.geometry().center().x() - screen.center().x()) <= 1);
        // The banner runs across the whole width at the top.
        QCOMPARE(w.Image1->geometry().topLeft(), QPoint(0, 0));
        w.show();
        QCOMPARE(w.Image1->width(), w.width());
    }

    void slotTextIsNotMarkup() {
        fx->AddScript({"a.hdr", "a", "<b>Bold</b>", "x < y & z", "Pick"});
        fx->Load();
        fx->ws.CurrentCategory = "Pick";
        FrmSelectScript w(fx->ws, fx->flow);
        QCOMPARE(w.LblScriptCation[0]->textFormat(), Qt::PlainText);
        QCOMPARE(w.LblScriptCation[0]->text(), QString("<b>Bold</b>"));
        QCOMPARE(w.LblScriptDescription[0]->textFormat(), Qt::PlainText);
    }

    // A taller window shows more effects on a page, not larger slots; made small again it
    // shows five, and the first effect that was shown stays on the page.
    void aTallerWindowShowsMoreEffectsPerPage() {
        LoadPick(20);
        FrmSelectScript w(fx->ws, fx->flow);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize own = w.size();
        const int slotHeight = w.LblScriptCation[0]->parentWidget()->height();
        QCOMPARE(VisibleNames(w), Names(1, 5));

        w.resize(own.width(), own.height() + 4 * slotHeight);
        QTRY_VERIFY(w.SlotsPerPage() > 5);
        const int per = w.SlotsPerPage();
        QCOMPARE(VisibleNames(w), Names(1, per));
        QVERIFY(w.LblScriptCation[0]->parentWidget()->height() <= slotHeight + 8);
        QRect last; // the slots lie one under the other, inside the window, above "<"
        for (int i = 0; i < per; ++i) {
            const QRect slot = w.LblScriptCation[i]->parentWidget()->geometry();
            QVERIFY2(slot.top() > last.bottom(), qPrintable(QString("slot %1").arg(i)));
            last = slot;
        }
        QVERIFY(last.bottom() < w.Command1->geometry().top());
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QCOMPARE(VisibleNames(w), Names(per + 1, std::min(20, 2 * per)));

        QVERIFY(w.minimumHeight() <= own.height());
        w.resize(own);
        QTRY_COMPARE(w.SlotsPerPage(), 5);
        QVERIFY(VisibleNames(w).contains(QStringLiteral("N%1").arg(per + 1)));
        QCOMPARE(VisibleNames(w).size(), 5);
    }

    // In a narrow window the descriptions wrap: every description shown is whole (its label
    // as tall as its wrapped text), the slots still lie one under the other above "<", and the
    // effects that no longer fit are on the next pages.
    void aNarrowWindowShowsWholeDescriptions() {
        const std::string words = "A description long enough to wrap to several lines when "
                                  "the window is made narrow, which must never be cut off at "
                                  "its end, whatever the width of the window.";
        for (int i = 1; i <= 9; ++i) {
            const std::string n = std::to_string(i);
            fx->AddScript({"p0" + n + ".hdr", "pick" + n, "N" + n, words + " (" + n + ")", "Pick"});
        }
        fx->Load();
        fx->ws.CurrentCategory = "Pick";
        FrmSelectScript w(fx->ws, fx->flow);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize own = w.size();
        QCOMPARE(VisibleNames(w), Names(1, 5));

        auto wholeAndStacked = [&w](const char* where) {
            QRect last;
            for (int i = 0; i < w.SlotsPerPage(); ++i) {
                QLabel* description = w.LblScriptDescription[i];
                if (!description->isVisibleTo(&w))
                    continue;
                const QString at = QString("%1, slot %2").arg(where).arg(i);
                QVERIFY2(description->height() >= description->heightForWidth(description->width()),
                         qPrintable(at + ": the description is cut off"));
                const QRect slot = description->parentWidget()->geometry();
                QVERIFY2(slot.top() > last.bottom(), qPrintable(at + ": slots overlap"));
                last = slot;
            }
            QVERIFY2(last.bottom() < w.Command1->geometry().top(), where);
        };
        w.resize(w.minimumWidth(), own.height());
        QTRY_VERIFY(w.SlotsPerPage() < 5);
        const int per = w.SlotsPerPage();
        QCOMPARE(VisibleNames(w), Names(1, per));
        wholeAndStacked("narrow");
        if (QTest::currentTestFailed())
            return;
        QVERIFY(w.Command2->isVisible());
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QCOMPARE(VisibleNames(w), Names(per + 1, std::min(9, 2 * per)));
        wholeAndStacked("narrow, next page");

        if (QTest::currentTestFailed())
            return;
        w.resize(own);
        QTRY_VERIFY(w.SlotsPerPage() > per);
        wholeAndStacked("own size");
    }

    void windowComesBackWhereItWasLeft() {
        LoadPick(2);
        std::unique_ptr<FrmSelectScript> w;
        const QString problem = test::GeometryRoundTripProblem(
            [&]() -> QWidget* {
                w = std::make_unique<FrmSelectScript>(fx->ws, fx->flow);
                w->show();
                return w.get();
            },
            [&](QWidget*) { QTest::mouseClick(w->Command3, Qt::LeftButton); });
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_MAIN(TestFrmSelectScript)
#include "test_shell_select.moc"
