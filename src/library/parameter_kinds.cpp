#include "library/parameter_kinds.h"

#include "expansion/colour.h"

namespace pelto::kinds {

namespace {

const std::string* At(const std::vector<std::string>& v, int i) {
    return i >= 0 && static_cast<size_t>(i) < v.size() ? &v[static_cast<size_t>(i)] : nullptr;
}

} // namespace

void ResetListEntries(ListParameter& r) {
    r.ResetEntries();
}

void ResetMenuEntries(MenuParameter& r) {
    r.ResetEntries();
}

void SizeOptionTexts(OptionParameter& r) {
    r.Captions.assign(static_cast<size_t>(r.Count) + 1, "");
    r.Texts.assign(static_cast<size_t>(r.Count) + 1, "");
}

void FollowColour(ColourParameter& r) {
    SetColourComponents(r);
}

int ListWidth(const ListParameter& r) {
    return r.Columns;
}

const std::string* ListEntry(const ListParameter& r, int row, int column) {
    if (column >= r.Columns || row < 0 || static_cast<size_t>(row) >= r.Entries.size())
        return nullptr;
    return At(r.Entries[static_cast<size_t>(row)], column);
}

int OptionWidth(const OptionParameter&) {
    return 2; // captions, texts
}

const std::string* OptionText(const OptionParameter& r, int row, int column) {
    return column == 0 ? At(r.Captions, row) : column == 1 ? At(r.Texts, row) : nullptr;
}

int MenuWidth(const MenuParameter&) {
    return 3; // entries, captions, links
}

const std::string* MenuText(const MenuParameter& r, int row, int column) {
    // The menu's arrays count from 1.
    return column == 0   ? At(r.MenuEntries, row + 1)
           : column == 1 ? At(r.MenuCaptions, row + 1)
           : column == 2 ? At(r.MenuLinks, row + 1)
                         : nullptr;
}

} // namespace pelto::kinds
