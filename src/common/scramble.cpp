#include "common/scramble.h"

#include "common/files.h"

namespace pelto {

namespace {
constexpr char kKey[] = "Lumo Dratch Fenwey";
constexpr size_t kKeyLength = sizeof(kKey) - 1; // 18
} // namespace

void DescrambleBytes(std::string& bytes) {
    size_t j = 0;
    for (char& c : bytes) {
        c = static_cast<char>(c ^ kKey[j]);
        if (++j == kKeyLength)
            j = 0;
    }
}

Result<std::string> ReadScrambledFile(const std::filesystem::path& source) {
    auto bytes = ReadFileBytes(source);
    if (!bytes)
        return bytes.error();
    DescrambleBytes(*bytes);
    return bytes;
}

Status DescrambleFile(const std::filesystem::path& source,
                      const std::filesystem::path& destination) {
    auto plain = ReadScrambledFile(source);
    if (!plain)
        return plain.error();
    std::error_code ec;
    std::filesystem::remove(destination, ec);
    return WriteFileBytes(destination, *plain);
}

} // namespace pelto
