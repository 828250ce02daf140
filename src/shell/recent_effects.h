#pragma once
// The ten most recently applied effects. The settings store (section "MRU", keys MRU1 to
// MRU10, MRU1 the newest) is the lasting copy: Load reads all ten slots, every change
// writes all ten back. Slots hold a script's ScriptId as the program holds it (UTF-8).
#include "library/workspace.h"

#include <array>
#include <cstdint>
#include <string>

namespace pelto::ui {

class RecentEffects {
public:
    static constexpr int kSlots = 10;

    // Fills the slots from the store (missing keys are empty).
    void Load();
    // Slot 1..10 (empty when out of range).
    const std::string& Slot(int slot) const;
    // Records the script at scriptIndex: a new id goes to slot 1 and pushes the others
    // down (slot 10 drops out); an id already listed leaves the order as it is. Either
    // way all ten slots are written to the store. Index 0 or out of range does nothing.
    void Add(const Workspace& ws, int16_t scriptIndex);
    // Empties all ten slots and writes them to the store.
    void Clear();

private:
    void Save() const;
    std::array<std::string, kSlots + 1> slots_{}; // 1..10; element 0 unused
};

// The library index of the first script (in library order) whose ScriptId equals id
// exactly; 0 when none does.
int16_t FindScriptById(const Workspace& ws, const std::string& id);

// The Name of that script; "" when none has that id.
std::string ScriptNameById(const Workspace& ws, const std::string& id);

// Loads the list from the store and records the script at scriptIndex in it (what the
// parameter page's "Apply" does).
void AddRecentEffect(const Workspace& ws, int16_t scriptIndex);

} // namespace pelto::ui
