#include "page_fixture.h"

#include "platform/settings_store.h"

#include <QListWidget>
#include <QTest>

namespace pelto::test {

std::string Definition(std::initializer_list<std::initializer_list<std::string>> blocks) {
    std::string text = "// test definition\r\n";
    for (const auto& block : blocks) {
        text += "*\r\n";
        for (const std::string& line : block)
            text += line + "\r\n";
    }
    return text + "// end\r\n";
}

PageFixture::PageFixture(const std::string& definition, const std::string& samplePage) {
    folder.WriteScrambled("test.par", definition);
    ws.ProgramFolder = folder.path();
    ScriptRecord script;
    script.Name = "Test Effect";
    script.ParameterFile = "test.par";
    ws.Library.push_back(script);
    ws.CurrentScriptIndex = 1;
    ws.CurrentParameterFile = "test.par";
    ws.SampleFile = (folder.path() / "sample.htm").string();
    folder.WriteFile("sample.htm",
                     samplePage.empty() ? "<html><body></body></html>\r\n" : samplePage);
    // The page remembers its size and the preview switch: in this folder, not the
    // user's settings.
    ui::SetSettingsFile(QString::fromStdString((folder.path() / "settings.ini").string()));
    page_ = std::make_unique<ui::FrmScript>(ws, flow);
    page_->show();
}

PageFixture::~PageFixture() {
    page_.reset();
    ui::SetSettingsFile(QString());
}

int PageFixture::RowOf(const QString& name) const {
    for (int i = 0; i < page_->LstParameters->count(); ++i)
        if (page_->LstParameters->item(i)->text() == name)
            return i;
    throw std::runtime_error("no parameter " + name.toStdString());
}

void PageFixture::Select(const QString& name) {
    ClickRow(page_->LstParameters, RowOf(name));
}

void ClickRow(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

} // namespace pelto::test
