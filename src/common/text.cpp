#include "common/text.h"

namespace pelto {

std::string_view TrimBlanks(std::string_view text) {
    size_t a = text.find_first_not_of(' ');
    if (a == std::string_view::npos)
        return {};
    size_t b = text.find_last_not_of(' ');
    return text.substr(a, b - a + 1);
}

} // namespace pelto
