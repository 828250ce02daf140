#include "library/script_record.h"

#include "common/numbers.h"
#include "library/workspace.h"

namespace pelto {

int16_t ScriptRecord::ItemCountValue() const {
    auto n = ToInt16(LeadingNumber(ItemCount));
    int16_t count = n ? *n : 0;
    // The item arrays bound the count: a record is never read past its items.
    int16_t stored = static_cast<int16_t>(ItemLocation.size() - 1);
    return count < 0 ? 0 : (count > stored ? stored : count);
}

const ScriptRecord& Workspace::CurrentScript() const {
    if (CurrentScriptIndex < 1 || static_cast<size_t>(CurrentScriptIndex) >= Library.size())
        return Library.front();
    return Library[CurrentScriptIndex];
}

} // namespace pelto
