// Pelto's GUI entry point: starts the application in the program folder beside the
// executable and shows the category window.
#include "common/files.h"
#include "library/definition_reader.h"
#include "library/library_loader.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pelto::Workspace ws;
    ws.ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
    pelto::ResetParameterState(ws);
    if (pelto::Status st = pelto::LoadHandlerTexts(ws); !st) {
        QMessageBox::critical(nullptr, "Pelto", QString::fromStdString(st.error().text()));
        return 1;
    }
    ws.SampleFile = pelto::PathText(ws.DefaultSampleFile());
    auto report = pelto::LoadScriptLibrary(ws);
    if (!report.fatal) {
        QMessageBox::critical(nullptr, "Pelto",
                              QString::fromStdString(report.fatal.error().text()));
        return 1;
    }
    pelto::BuildCategoryList(ws);
    QWidget window;
    window.setWindowTitle("Select Script Category");
    auto* layout = new QVBoxLayout(&window);
    for (size_t i = 1; i < ws.CategoryList.size(); ++i)
        layout->addWidget(new QLabel(QString::fromLatin1(ws.CategoryList[i].c_str())));
    window.show();
    return app.exec();
}
