// Opens the apply dialog on one effect of a program folder, with the effect's default
// parameter values, so "Do it" can be tried by hand before the parameter page leads
// there.
//   apply_harness [--home PROGRAM_FOLDER] SCRIPTID [PAGE]
// PROGRAM_FOLDER defaults to the build tree's program folder, PAGE to its sample.htm.
#include "attach/ui/frm_apply_changes.h"
#include "common/files.h"
#include "library/definition_reader.h"
#include "library/library_loader.h"
#include "platform/message_box.h"
#include "platform/native_text.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>

using namespace pelto;

namespace {
int Fail(const QString& text) {
    std::fprintf(stderr, "apply_harness: %s\n", qPrintable(text));
    return 1;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString home = QStringLiteral(PELTO_HOME);
    if (args.size() >= 2 && args[0] == "--home") {
        home = args[1];
        args = args.mid(2);
    }
    if (args.isEmpty() || args.size() > 2) {
        std::fprintf(stderr, "usage: apply_harness [--home PROGRAM_FOLDER] SCRIPTID [PAGE]\n");
        return 2;
    }

    Workspace ws;
    ws.ProgramFolder = ui::PathFromQString(home);
    ResetParameterState(ws);
    if (Status st = LoadHandlerTexts(ws); !st)
        return Fail(ui::ErrorToQString(st.error()));
    LibraryLoadReport report = LoadScriptLibrary(ws);
    if (!report.fatal)
        return Fail(ui::ErrorToQString(report.fatal.error()));
    for (const Error& skipped : report.skipped)
        std::fprintf(stderr, "apply_harness: left out: %s\n",
                     qPrintable(ui::ErrorToQString(skipped)));
    BuildCategoryList(ws);

    const std::string id = args[0].toStdString();
    for (size_t i = 1; i < ws.Library.size(); ++i)
        if (ws.Library[i].ScriptId == id) {
            ws.CurrentScriptIndex = static_cast<int16_t>(i);
            break;
        }
    if (ws.CurrentScriptIndex == 0)
        return Fail("no effect with the id \"" + args[0] + "\" in " + home);
    ws.CurrentParameterFile = ws.CurrentScript().ParameterFile;
    ws.SampleFile =
        args.size() == 2 ? ui::PathFromQString(args[1]) : PathText(ws.DefaultSampleFile());

    std::vector<Error> warnings;
    if (Status st = LoadScriptDefinition(ws, ws.DataFolder() / ws.CurrentParameterFile, &warnings);
        !st)
        return Fail(ui::ErrorToQString(st.error()));
    for (const Error& w : warnings)
        std::fprintf(stderr, "apply_harness: %s\n", qPrintable(ui::ErrorToQString(w)));

    ui::FrmApplyChanges dialog(ws);
    dialog.exec();
    return 0;
}
