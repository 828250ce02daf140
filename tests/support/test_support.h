#pragma once
// Temporary program folders and small fixtures shared by the tests.
#include <filesystem>
#include <string>

namespace pelto::test {

namespace fs = std::filesystem;

// A fresh program folder with data/, images/, userdata/ and output/ (and the four
// handler files copied from the shipped library), removed again on destruction.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    const fs::path& path() const { return path_; }
    fs::path data() const { return path_ / "data"; }

    // Writes plain text scrambled into data/NAME.
    void WriteScrambled(const std::string& name, const std::string& plain) const;
    // Writes bytes to a file below the folder (creating folders as needed).
    void WriteFile(const fs::path& relative, const std::string& bytes) const;

private:
    fs::path path_;
};

// A fresh empty temporary folder, removed on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Writes plain text scrambled to path.
void WriteScrambled(const fs::path& path, const std::string& plain);

// Lines joined with CR LF, each line followed by CR LF.
std::string CrLf(std::initializer_list<std::string> lines);

// The build tree's program folder with the shipped library.
fs::path ShippedProgramFolder();

// Copies the shipped program folder into dest (tests that write output use a copy).
void CopyShippedProgramFolder(const fs::path& dest);

// Reads a whole file ("" when missing).
std::string ReadAll(const fs::path& path);

} // namespace pelto::test
