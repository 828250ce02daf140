// Every effect of the shipped library opens on the parameter page, and stepping through
// all its parameters without editing leaves the values as the definition gave them.
#include "test_registry.h"

#include "library/library_loader.h"
#include "page_fixture.h"
#include "parampage/frm_script.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "ui_common/editor_frame.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/numbers.h"

using namespace pelto;
using namespace pelto::test;

class ShippedEffectsTest : public QObject {
    Q_OBJECT
private slots:
    void everyEffectOpensAndKeepsItsValues() {
        TempFolder home;
        CopyShippedProgramFolder(home.path());
        Workspace ws;
        ws.ProgramFolder = home.path();
        const LibraryLoadReport report = LoadScriptLibrary(ws);
        QVERIFY(report.fatal.ok());
        QVERIFY(report.skipped.empty());
        QVERIFY2(ws.Library.size() > 1, "the shipped library is empty");
        ws.SampleFile = (home.path() / "sample.htm").string();
        for (int16_t s = 1; s < static_cast<int16_t>(ws.Library.size()); ++s) {
            ui::ClearTestMessages();
            ws.CurrentScriptIndex = s;
            ws.CurrentParameterFile = ws.Library[s].ParameterFile;
            RecordingFlow flow;
            ui::FrmScript page(ws, flow);
            page.show();
            const QString effect = ui::FromBytes(ws.Library[s].Name);
            QVERIFY2(ui::TestMessages().isEmpty(),
                     qPrintable(effect + ": " + ui::TestMessages().join("; ")));
            QCOMPARE(page.LstParameters->count(), int(ws.Params.ParameterCount));
            const ParameterState before = ws.Params;
            for (int i = 1; i < page.LstParameters->count(); ++i) {
                QTest::mouseClick(page.Command13, Qt::LeftButton);
                const int kind = page.LstParameters->item(i)->data(Qt::UserRole).toInt();
                QVERIFY2(page.FrameDataType[kind]->isVisible(), qPrintable(effect));
            }
            QTest::mouseClick(page.Command5, Qt::LeftButton);
            QCOMPARE(flow.calls, QStringList({"AddRecentEffect", "ShowApplyDialog(page)"}));
            QVERIFY2(ui::TestMessages().isEmpty(),
                     qPrintable(effect + ": " + ui::TestMessages().join("; ")));
            const ParameterState& after = ws.Params;
            auto kindCount = [&](int16_t kind) { return static_cast<int>(before.KindCount[kind]); };
            for (int i = 1; i <= kindCount(Text); ++i)
                QCOMPARE(after.TextParameters[i].Value, before.TextParameters[i].Value);
            for (int i = 1; i <= kindCount(Option); ++i)
                QCOMPARE(after.OptionParameters[i].Selected, before.OptionParameters[i].Selected);
            for (int i = 1; i <= kindCount(Colour); ++i)
                QCOMPARE(after.ColourParameters[i].Colour, before.ColourParameters[i].Colour);
            for (int i = 1; i <= kindCount(Int); ++i)
                QCOMPARE(after.IntParameters[i].Value,
                         RoundHalfEven(before.IntParameters[i].Value));
            for (int i = 1; i <= kindCount(List); ++i) {
                const ListParameter& b = before.ListParameters[i];
                if (b.CaseRule != "LCASE" && b.CaseRule != "UCASE")
                    QCOMPARE(after.ListParameters[i].Entries, b.Entries);
            }
            QCOMPARE(after.Menu.Count, before.Menu.Count);
            QCOMPARE(after.Menu.MenuEntries, before.Menu.MenuEntries);
        }
    }
};

PELTO_REGISTER_TEST(ShippedEffectsTest)
#include "test_shipped_effects.moc"
