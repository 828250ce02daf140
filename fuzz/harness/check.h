#pragma once
// A tiny collector for the rules a harness checks: the first broken rule wins.
#include "common/result.h"

#include <string>

namespace pelto::fuzz {

class Check {
public:
    // Records what when cond is false (only the first one is kept).
    void That(bool cond, const std::string& what) {
        if (!cond && broken_.empty())
            broken_ = what;
    }
    // An error must name the file it is about and say what is wrong.
    void NamesFile(const Error& e, const std::string& file) {
        That(e.file == file, "the error names \"" + e.file + "\" instead of \"" + file + "\"");
        That(!e.message.empty(), "the error has no message");
    }
    const std::string& result() const { return broken_; }

private:
    std::string broken_;
};

} // namespace pelto::fuzz
