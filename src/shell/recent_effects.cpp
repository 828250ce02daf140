#include "shell/recent_effects.h"

#include "platform/settings_store.h"
#include "platform/text_codec.h"

#include <algorithm>

namespace pelto::ui {

namespace {
const QString kSection = QStringLiteral("MRU");
QString SlotKey(int slot) {
    return QStringLiteral("MRU") + QString::number(slot);
}
const std::string kEmpty;
} // namespace

void RecentEffects::Load() {
    for (int slot = 1; slot <= kSlots; ++slot) {
        const QString value = GetSetting(kSection, SlotKey(slot), QString());
        // A value edited by hand into something else cannot name a script: it finds none.
        slots_[slot] = ToBytes(value);
    }
}

const std::string& RecentEffects::Slot(int slot) const {
    return slot >= 1 && slot <= kSlots ? slots_[slot] : kEmpty;
}

void RecentEffects::Add(const Workspace& ws, int16_t scriptIndex) {
    if (scriptIndex < 1 || static_cast<size_t>(scriptIndex) >= ws.Library.size())
        return;
    const std::string& id = ws.Library[scriptIndex].ScriptId;
    if (std::find(slots_.begin() + 1, slots_.end(), id) == slots_.end()) {
        for (int slot = kSlots; slot > 1; --slot)
            slots_[slot] = slots_[slot - 1];
        slots_[1] = id;
    }
    Save();
}

void RecentEffects::Clear() {
    for (int slot = 1; slot <= kSlots; ++slot)
        slots_[slot].clear();
    Save();
}

void RecentEffects::Save() const {
    for (int slot = 1; slot <= kSlots; ++slot)
        SaveSetting(kSection, SlotKey(slot), FromBytes(slots_[slot]));
}

int16_t FindScriptById(const Workspace& ws, const std::string& id) {
    for (size_t i = 1; i < ws.Library.size() && i <= 32767; ++i)
        if (ws.Library[i].ScriptId == id)
            return static_cast<int16_t>(i);
    return 0;
}

std::string ScriptNameById(const Workspace& ws, const std::string& id) {
    int16_t index = FindScriptById(ws, id);
    return index > 0 ? ws.Library[index].Name : std::string();
}

void AddRecentEffect(const Workspace& ws, int16_t scriptIndex) {
    RecentEffects recent;
    recent.Load();
    recent.Add(ws, scriptIndex);
}

} // namespace pelto::ui
