#pragma once
// One script of the library as read from its header file, and the catalogue that
// holds them (index 0 stays empty; scripts occupy 1..M in library order).
#include <cstdint>
#include <string>
#include <vector>

namespace pelto {

struct ScriptRecord {
    std::string ScriptId;
    std::string Name;
    std::string Description;
    std::string Category;
    std::string ParameterFile;
    std::string ItemCount; // decimal text of the number read from line 8
    std::vector<std::string> ItemLocation{""};
    std::vector<std::string> ItemCodeFile{""};
    std::vector<std::string> ItemExternalName{""};
    std::vector<int16_t> ItemInclude{0};
    std::vector<int16_t> ItemOnce{0};
    int16_t IdStride = 0;
    std::string IdPrefix;
    std::string HeaderFile; // the header's file name as listed, for messages

    // ItemCount as the 16-bit count it stands for (items 1..ItemCountValue()).
    int16_t ItemCountValue() const;
};

using ScriptLibrary = std::vector<ScriptRecord>; // element 0 empty

} // namespace pelto
