// The header reader on any text: a record whose item arrays agree with its count, or
// an error that names the header and a line.
#include "harness/check.h"
#include "harness/harness.h"

#include "common/numbers.h"
#include "library/library_loader.h"

#include <algorithm>

namespace pelto::fuzz {

std::string RunHeader(std::string_view input) {
    const std::string text(input);
    const std::string name = "fuzz.hdr";
    Check check;
    auto r = ReadScriptHeader(text, name);
    if (!r) {
        check.NamesFile(r.error(), name);
        const long lines = 1 + static_cast<long>(std::count(text.begin(), text.end(), '\n')) +
                           static_cast<long>(std::count(text.begin(), text.end(), '\r'));
        check.That(r.error().line >= 1 && r.error().line <= lines + 9,
                   "the error's line " + std::to_string(r.error().line) +
                       " lies outside the header");
        return check.result();
    }
    const ScriptRecord& s = *r;
    const size_t n = s.ItemLocation.size();
    check.That(n >= 1, "the item arrays lost element 0");
    check.That(s.ItemCodeFile.size() == n && s.ItemExternalName.size() == n &&
                   s.ItemInclude.size() == n && s.ItemOnce.size() == n,
               "the five item arrays differ in length");
    auto count = ToInt16(LeadingNumber(s.ItemCount));
    check.That(count.has_value() && *count >= 0,
               "the item count text \"" + s.ItemCount + "\" is not a count");
    check.That(static_cast<size_t>(s.ItemCountValue()) + 1 == n,
               "ItemCountValue() does not match the items read");
    check.That(s.ItemLocation[0].empty() && s.ItemCodeFile[0].empty() && s.ItemInclude[0] == 0,
               "element 0 of the item arrays is not empty");
    check.That(s.ParameterFile == "fuzz.par", "the parameter file is \"" + s.ParameterFile + "\"");
    check.That(s.IdPrefix.empty() || (s.IdPrefix.front() != ' ' && s.IdPrefix.back() != ' '),
               "the prefix keeps blanks around it");
    return check.result();
}

} // namespace pelto::fuzz
