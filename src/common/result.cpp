#include "common/result.h"

namespace pelto {

std::string Error::text() const {
    std::string out;
    if (!file.empty()) {
        out += file;
        if (line > 0)
            out += ": line " + std::to_string(line);
        out += ": ";
    }
    out += message;
    return out;
}

Error MakeError(std::string file, long line, std::string message) {
    return Error{std::move(file), line, std::move(message)};
}

} // namespace pelto
