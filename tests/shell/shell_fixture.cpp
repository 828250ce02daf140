#include "shell_fixture.h"

#include "library/definition_reader.h"
#include "library/library_loader.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"

#include <stdexcept>

namespace pelto::test {

ShellFixture::ShellFixture() {
    settingsFile = QString::fromStdString((settingsFolder_.path() / "Pelto.ini").string());
    ui::SetSettingsFile(settingsFile);
    ui::EnableTestMessages();
    ui::ClearTestMessages();
    ws.ProgramFolder = home_.path();
}

ShellFixture::~ShellFixture() {
    ui::SetSettingsFile(QString());
    ui::ClearTestMessages();
}

void ShellFixture::AddScript(const ScriptSpec& s) {
    home_.WriteScrambled(s.file,
                         CrLf({s.id, "fx", "1000", s.name, s.description, s.category, "0", "0"}));
}

void ShellFixture::AddPicture(const std::string& name, int red, int green, int blue) {
    home_.WriteFile(fs::path("images") / name, OnePixelGif(red, green, blue));
}

void ShellFixture::Load() {
    ResetParameterState(ws);
    if (!LoadHandlerTexts(ws))
        throw std::runtime_error("the fixture's handler files are missing");
    ws.SampleFile = ws.DefaultSampleFile().string();
    auto report = LoadScriptLibrary(ws);
    if (!report.fatal || !report.skipped.empty())
        throw std::runtime_error("the fixture's library does not load");
    BuildCategoryList(ws);
}

std::string OnePixelGif(int red, int green, int blue) {
    std::string gif = "GIF89a";
    gif += std::string("\x01\x00\x01\x00\x80\x00\x00", 7); // 1x1, 2-entry colour table
    gif += static_cast<char>(red);
    gif += static_cast<char>(green);
    gif += static_cast<char>(blue);
    gif += std::string("\x00\x00\x00", 3);
    gif += std::string("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10); // image descriptor
    gif += std::string("\x02\x02\x44\x01\x00\x3b", 6);                  // pixel 0, trailer
    return gif;
}

} // namespace pelto::test
