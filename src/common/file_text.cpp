#include "common/file_text.h"

#include "common/cp1252.h"

namespace pelto {

std::string FileTextToUtf8(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        return ValidUtf8(bytes.substr(kByteOrderMark.size()));
    return Cp1252ToUtf8(bytes);
}

std::string Utf8ToFileText(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    bool fits = true;
    for (size_t i = 0; i < utf8.size() && fits;) {
        uint32_t cp = 0;
        const size_t len = ReadUtf8Char(utf8, i, cp);
        const int byte = len == 0 ? -1 : Cp1252ByteOrUnassigned(cp);
        fits = byte >= 0;
        bytes += static_cast<char>(byte);
        i += len;
    }
    if (fits)
        return bytes;
    std::string out(kByteOrderMark);
    out += ValidUtf8(utf8);
    return out;
}

} // namespace pelto
