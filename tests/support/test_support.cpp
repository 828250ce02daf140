#include "support/test_support.h"

#include "common/files.h"
#include "common/scramble.h"

#include <atomic>
#include <stdexcept>
#include <unistd.h>

namespace pelto::test {

namespace {

fs::path MakeTempDir(const char* stem) {
    static std::atomic<int> counter{0};
    fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        fs::path p = base / (std::string(stem) + "-" + std::to_string(::getpid()) + "-" +
                             std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(p, ec))
            return p;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

void RemoveTree(const fs::path& p) {
    std::error_code ec;
    // Make read-only folders writable again so tests that change permissions clean up.
    for (auto it = fs::recursive_directory_iterator(p, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(p, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(p, ec);
}

} // namespace

TempFolder::TempFolder() : path_(MakeTempDir("pelto-test")) {}
TempFolder::~TempFolder() {
    RemoveTree(path_);
}

TempProgramFolder::TempProgramFolder() : path_(MakeTempDir("pelto-home")) {
    for (const char* sub : {"data", "images", "userdata", "output", "help"})
        fs::create_directories(path_ / sub);
    fs::path shipped = ShippedProgramFolder() / "data";
    for (const char* h :
         {"mousehandler.js", "onloadhandler.js", "onresizehandler.js", "onscrollhandler.js"}) {
        std::error_code ec;
        fs::copy_file(shipped / h, path_ / "data" / h, fs::copy_options::overwrite_existing, ec);
    }
}

TempProgramFolder::~TempProgramFolder() {
    RemoveTree(path_);
}

void TempProgramFolder::WriteScrambled(const std::string& name, const std::string& plain) const {
    test::WriteScrambled(data() / name, plain);
}

void TempProgramFolder::WriteFile(const fs::path& relative, const std::string& bytes) const {
    fs::path target = path_ / relative;
    fs::create_directories(target.parent_path());
    if (!WriteFileBytes(target, bytes))
        throw std::runtime_error("cannot write " + target.string());
}

void WriteScrambled(const fs::path& path, const std::string& plain) {
    std::string bytes = plain;
    DescrambleBytes(bytes);
    if (!WriteFileBytes(path, bytes))
        throw std::runtime_error("cannot write " + path.string());
}

std::string CrLf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

fs::path ShippedProgramFolder() {
    return fs::path(PELTO_HOME);
}

void CopyShippedProgramFolder(const fs::path& dest) {
    fs::create_directories(dest);
    fs::copy(ShippedProgramFolder(), dest,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::string ReadAll(const fs::path& path) {
    auto bytes = ReadFileBytes(path);
    return bytes ? *bytes : std::string();
}

} // namespace pelto::test
