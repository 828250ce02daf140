#pragma once
// Folders that fail the way a real machine fails: a read-only folder and a tiny disk.
// The tests run as root, and root writes through permission bits, so for root both are
// tmpfs mounts (read-only, or a few kilobytes large); for other users a read-only
// folder is a folder without write permission. Where neither can be made the fixture
// says why and the test is skipped, never passed.
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pelto::test {

namespace fs = std::filesystem;

class FaultFolder {
public:
    // A folder holding the given files (name -> bytes) that refuses every write.
    static std::unique_ptr<FaultFolder>
    ReadOnly(const std::vector<std::pair<std::string, std::string>>& files, std::string* why);
    // An empty folder on a disk of about the given size.
    static std::unique_ptr<FaultFolder> SmallDisk(size_t bytes, std::string* why);
    ~FaultFolder();
    FaultFolder(const FaultFolder&) = delete;
    FaultFolder& operator=(const FaultFolder&) = delete;

    const fs::path& path() const { return path_; }
    // Writes a file inside, even when the folder is read-only (for setting up).
    void Put(const std::string& name, const std::string& bytes);
    // The folder's file names, sorted.
    std::vector<std::string> Names() const;

private:
    FaultFolder() = default;
    fs::path path_;
    bool mounted_ = false;
    bool readOnly_ = false;
};

// A file of n bytes of text.
std::string Bytes(size_t n, char fill = 'x');

} // namespace pelto::test
