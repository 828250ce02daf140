#pragma once
// The library's data files are stored scrambled: every byte XOR-ed with a repeating
// 18-character key. The transform is its own inverse.
#include "common/result.h"

#include <filesystem>
#include <string>

namespace pelto {

// Applies the transform in place.
void DescrambleBytes(std::string& bytes);

// Reads the source whole, transforms it and writes it to the destination, replacing
// any file of that name.
Status DescrambleFile(const std::filesystem::path& source,
                      const std::filesystem::path& destination);

// Reads the file whole and returns its plain text.
Result<std::string> ReadScrambledFile(const std::filesystem::path& source);

} // namespace pelto
