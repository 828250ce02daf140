#include "templates/template_files.h"

#include "common/file_text.h"
#include "common/files.h"
#include "templates/parameter_values.h"
#include "templates/template_names.h"

#include <algorithm>
#include <array>

namespace pelto {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxListed = 100;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// The template files of base in the userdata folder, by name.
Result<std::vector<std::string>> TemplateFilesOnDisk(const Workspace& ws, const std::string& base) {
    std::vector<std::string> names;
    const fs::path folder = ws.UserDataFolder();
    std::error_code ec;
    if (!fs::exists(folder, ec))
        return names;
    auto files = FolderFiles(folder);
    if (!files)
        return files.error();
    for (const fs::path& file : *files) {
        std::string name = file.filename().string();
        if (TemplateNumberOf(name, base) > 0)
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

Result<std::string> TemplateBaseName(const Workspace& ws) {
    const std::string& file = ws.CurrentParameterFile;
    if (file.size() <= 4)
        return MakeError("", 0, "no effect is chosen, so it has no templates");
    return file.substr(0, file.size() - 4);
}

std::string TemplateFileName(const std::string& base, int number) {
    std::string digits = std::to_string(number);
    return base + ".p" + (number < 10 ? "0" + digits : digits);
}

int TemplateNumberOf(const std::string& fileName, const std::string& base) {
    if (fileName.size() != base.size() + 4)
        return 0;
    if (!EqualNoCase(std::string_view(fileName).substr(0, base.size()), base))
        return 0;
    std::string_view ext = std::string_view(fileName).substr(base.size());
    if (ext[0] != '.' || Lower(ext[1]) != 'p')
        return 0;
    if (ext[2] < '0' || ext[2] > '9' || ext[3] < '0' || ext[3] > '9')
        return 0;
    return (ext[2] - '0') * 10 + (ext[3] - '0');
}

Result<std::vector<TemplateEntry>> ListTemplates(const Workspace& ws) {
    Result<std::string> base = TemplateBaseName(ws);
    if (!base)
        return base.error();
    Result<std::vector<std::string>> files = TemplateFilesOnDisk(ws, *base);
    if (!files)
        return files.error();
    std::vector<TemplateEntry> entries;
    for (const std::string& file : *files) {
        if (entries.size() >= kMaxListed)
            break;
        Result<std::string> bytes = ReadFileBytes(ws.UserDataFolder() / file);
        if (!bytes)
            return bytes.error();
        size_t end = bytes->find_first_of("\r\n");
        entries.push_back({FileTextToUtf8(std::string_view(*bytes).substr(0, end)), file});
    }
    return entries;
}

Status SaveTemplate(Workspace& ws, const std::string& name,
                    const std::vector<std::string>& parameterNames,
                    const std::vector<TemplateEntry>& listed,
                    const std::function<bool(const std::string& name)>& confirmOverwrite,
                    bool* declined, std::vector<Error>* leftOut) {
    if (declined)
        *declined = false;
    if (leftOut)
        leftOut->clear();
    Result<std::string> base = TemplateBaseName(ws);
    if (!base)
        return base.error();
    if (name.empty())
        return MakeError("", 0, "the template needs a name");
    if (name.find_first_of("\r\n") != std::string::npos)
        return MakeError("", 0, "a template name cannot hold a line break");

    std::string target;
    auto existing = std::find_if(listed.begin(), listed.end(),
                                 [&](const TemplateEntry& e) { return e.name == name; });
    if (existing != listed.end()) {
        if (!confirmOverwrite || !confirmOverwrite(name)) {
            if (declined)
                *declined = true;
            return Status::Ok();
        }
        if (TemplateNumberOf(existing->file, *base) == 0)
            return MakeError(existing->file, 0, "is not a template file of this effect");
        target = existing->file;
    } else {
        // The smallest number that neither the listing nor the folder uses.
        std::array<bool, kMaxTemplateNumber + 1> used{};
        for (const TemplateEntry& e : listed)
            used[static_cast<size_t>(TemplateNumberOf(e.file, *base))] = true;
        Result<std::vector<std::string>> onDisk = TemplateFilesOnDisk(ws, *base);
        if (!onDisk)
            return onDisk.error();
        for (const std::string& f : *onDisk)
            used[static_cast<size_t>(TemplateNumberOf(f, *base))] = true;
        int number = 1;
        while (number <= kMaxTemplateNumber && used[static_cast<size_t>(number)])
            ++number;
        if (number > kMaxTemplateNumber)
            return MakeError(
                PathText(ws.UserDataFolder()), 0,
                "all 99 template numbers of this effect (" + TemplateFileName(*base, 1) + " to " +
                    TemplateFileName(*base, kMaxTemplateNumber) + ") are taken; nothing was saved");
        target = TemplateFileName(*base, number);
    }

    std::string text = name + "\r\n";
    for (const std::string& parameter : parameterNames) {
        Status st = WriteParameterValues(ws, parameter, text);
        if (st)
            continue;
        if (!leftOut)
            return st;
        leftOut->push_back(st.error()); // text is unchanged by a failed block
    }
    std::error_code ec;
    fs::create_directories(ws.UserDataFolder(), ec);
    return WriteFileAtomic(ws.UserDataFolder() / target, Utf8ToFileText(text));
}

Status ReadTemplateFile(Workspace& ws, const fs::path& path,
                        const std::function<void(int position)>& showParameter) {
    // A template is a few lines per value: far below this, also with every parameter set.
    constexpr size_t kMaxTemplateBytes = size_t{16} << 20;
    Result<std::string> bytes = ReadFileBytes(path, kMaxTemplateBytes);
    if (!bytes)
        return bytes.error();
    std::vector<std::string> lines = SplitLines(FileTextToUtf8(*bytes));
    return ReadParameterValues(ws, lines, 1, PathText(path), showParameter);
}

Status LoadTemplate(Workspace& ws, const std::string& name,
                    const std::vector<TemplateEntry>& listed,
                    const std::function<void(int position)>& showParameter) {
    auto it = std::find_if(listed.begin(), listed.end(),
                           [&](const TemplateEntry& e) { return e.name == name; });
    if (it == listed.end())
        return MakeError("", 0, "there is no template named \"" + name + "\"");
    if (it->file.find('/') != std::string::npos || it->file.find('\\') != std::string::npos ||
        it->file.find("..") != std::string::npos)
        return MakeError(it->file, 0, "is not a file of the userdata folder");
    return ReadTemplateFile(ws, ws.UserDataFolder() / it->file, showParameter);
}

} // namespace pelto
