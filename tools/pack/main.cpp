// pelto-pack EFFECTS_DIR PROGRAM_FOLDER
// Builds the library part of a program folder from the plain effect sources: text files
// are turned from UTF-8 with any line ends into Windows-1252 with CR LF, script files are
// scrambled into data/, handler files go into data/ as plain text, and pictures, help and
// the sample pages are copied as they are.
#include "common/cp1252.h"
#include "common/files.h"
#include "common/scramble.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

namespace fs = std::filesystem;
using namespace pelto;

namespace {

bool IsPicture(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return ext == ".gif" || ext == ".jpg" || ext == ".jpeg" || ext == ".png" || ext == ".ico" ||
           ext == ".bmp" || ext == ".webp";
}

// UTF-8 text with LF, CR LF or CR line ends -> Windows-1252 with CR LF.
Result<std::string> ToLibraryText(const fs::path& source, const std::string& utf8) {
    size_t bad = 0;
    auto bytes = Utf8ToCp1252(utf8, &bad);
    if (!bytes) {
        long line = 1 + static_cast<long>(std::count(utf8.begin(), utf8.begin() + bad, '\n'));
        return MakeError(source.string(), line,
                         "holds a character that Windows-1252 cannot write (or is not UTF-8)");
    }
    std::string out;
    out.reserve(bytes->size() + bytes->size() / 20);
    for (size_t i = 0; i < bytes->size(); ++i) {
        char c = (*bytes)[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < bytes->size() && (*bytes)[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<fs::path> FilesIn(const fs::path& dir, bool recursive) {
    std::vector<fs::path> out;
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        return out;
    if (recursive) {
        for (auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file())
                out.push_back(e.path());
    } else {
        for (auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file())
                out.push_back(e.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

int Fail(const Error& e) {
    std::fprintf(stderr, "pelto-pack: %s\n", e.text().c_str());
    return 1;
}

Status CopyRaw(const fs::path& from, const fs::path& to) {
    auto bytes = ReadFileBytes(from);
    if (!bytes)
        return bytes.error();
    fs::create_directories(to.parent_path());
    return WriteFileBytes(to, *bytes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pelto-pack EFFECTS_DIR PROGRAM_FOLDER\n");
        return 2;
    }
    fs::path src = argv[1];
    fs::path home = argv[2];
    fs::path data = home / "data";
    std::error_code ec;
    fs::create_directories(data, ec);
    for (const char* sub : {"images", "help", "userdata", "output"})
        fs::create_directories(home / sub, ec);
    // Start data/ afresh so effects removed from the sources do not linger.
    for (auto& old : FilesIn(data, false))
        fs::remove(old, ec);

    std::set<std::string> names;
    std::vector<fs::path> scriptFiles;
    if (fs::is_directory(src / "scripts", ec))
        for (auto& e : fs::directory_iterator(src / "scripts"))
            if (e.is_directory())
                for (auto& f : FilesIn(e.path(), false))
                    scriptFiles.push_back(f);
    std::sort(scriptFiles.begin(), scriptFiles.end());
    for (auto& f : scriptFiles) {
        std::string name = f.filename().string();
        if (!names.insert(name).second)
            return Fail(
                MakeError(f.string(), 0, "another effect already has a file named " + name));
        auto bytes = ReadFileBytes(f);
        if (!bytes)
            return Fail(bytes.error());
        std::string out = *bytes;
        if (!IsPicture(f)) {
            auto text = ToLibraryText(f, *bytes);
            if (!text)
                return Fail(text.error());
            out = *text;
        }
        DescrambleBytes(out);
        if (Status st = WriteFileBytes(data / name, out); !st)
            return Fail(st.error());
    }
    for (auto& f : FilesIn(src / "handlers", false)) {
        auto bytes = ReadFileBytes(f);
        if (!bytes)
            return Fail(bytes.error());
        auto text = ToLibraryText(f, *bytes);
        if (!text)
            return Fail(text.error());
        if (Status st = WriteFileBytes(data / f.filename(), *text); !st)
            return Fail(st.error());
    }
    for (const char* sub : {"images", "help"})
        for (auto& f : FilesIn(src / sub, true))
            if (Status st = CopyRaw(f, home / sub / fs::relative(f, src / sub)); !st)
                return Fail(st.error());
    // The sample pages keep their bytes: one is Windows-1252, the other UTF-8.
    for (const char* page : {"sample.htm", "sample-utf8.htm"})
        if (fs::exists(src / page, ec))
            if (Status st = CopyRaw(src / page, home / page); !st)
                return Fail(st.error());
    return 0;
}
