#pragma once
// The file formats of the parameter kinds, one kind after another, each in the order its
// lines stand in a file:
//  - the definition block: after the "*" line and the kind line, value lines 1, 2, ...,
//    each converted as given and stored in its field; a kind with a rest goes on with
//    text columns sized by one of its counts; any other further line is ignored;
//  - the template block: after the line with the parameter's name, the lines of its
//    current value (Option, Reserved and Info write no block, not even the name line).
// The definition reader, the template reader and writer and the name lookups walk these
// tables (definition_reader.cpp, templates/parameter_values.cpp, lookup.cpp).
#include "library/kind_format.h"

namespace pelto::kinds {

using C = Conversion;

// Steps that follow from a value.
void ResetListEntries(ListParameter& r);
void ResetMenuEntries(MenuParameter& r);
void SizeOptionTexts(OptionParameter& r);
void FollowColour(ColourParameter& r); // Red, Green and Blue follow the colour

// The places of the text columns.
int ListWidth(const ListParameter& r);
const std::string* ListEntry(const ListParameter& r, int row, int column);
int OptionWidth(const OptionParameter&);
const std::string* OptionText(const OptionParameter& r, int row, int column);
int MenuWidth(const MenuParameter&);
const std::string* MenuText(const MenuParameter& r, int row, int column);

// ---- 0 Int: a whole number on a slider --------------------------------------------
inline constexpr Line<IntParameter> kIntLines[] = {
    AsWhole16(&IntParameter::Min),      // 1
    AsWhole16(&IntParameter::Max),      // 2
    AsReal(&IntParameter::LargeChange), // 3
    AsText(&IntParameter::ValueSuffix), // 4
    AsReal(&IntParameter::Value),       // 5
    AsText(&IntParameter::Name),        // 6
    AsText(&IntParameter::Description), // 7
};
inline constexpr Line<IntParameter> kIntBlock[] = {
    AsWhole16(&IntParameter::Value), // written as it is (2.5), read back rounded (2)
};
inline constexpr Format<IntParameter> kIntFormat{.kind = Int,
                                                 .table = &ParameterState::IntParameters,
                                                 .name = &IntParameter::Name,
                                                 .definition = kIntLines,
                                                 .inTemplates = true,
                                                 .templateBlock = kIntBlock};

// ---- 1 File and 2 Image: a file chosen from a folder -------------------------------
inline constexpr Line<FileParameter> kFileLines[] = {
    AsText(&FileParameter::Pattern),     // 1
    AsText(&FileParameter::FileName),    // 2
    AsText(&FileParameter::Name),        // 3
    AsText(&FileParameter::Description), // 4
};
inline constexpr Line<FileParameter> kFileBlock[] = {
    AsText(&FileParameter::FileName),
    AsText(&FileParameter::Path),
};
inline constexpr Format<FileParameter> kFileFormat{.kind = File,
                                                   .table = &ParameterState::FileParameters,
                                                   .name = &FileParameter::Name,
                                                   .definition = kFileLines,
                                                   .inTemplates = true,
                                                   .templateBlock = kFileBlock};
inline constexpr Format<ImageParameter> kImageFormat{.kind = Image,
                                                     .table = &ParameterState::ImageParameters,
                                                     .name = &FileParameter::Name,
                                                     .definition = kFileLines,
                                                     .inTemplates = true,
                                                     .templateBlock = kFileBlock};

// ---- 3 Colour -----------------------------------------------------------------------
inline constexpr Line<ColourParameter> kColourLines[] = {
    AsWhole32(&ColourParameter::Colour).Then(FollowColour), // 1
    AsText(&ColourParameter::Name),                         // 2
    AsText(&ColourParameter::Description),                  // 3
};
inline constexpr Line<ColourParameter> kColourBlock[] = {
    AsWhole32(&ColourParameter::Colour).Then(FollowColour),
};
inline constexpr Format<ColourParameter> kColourFormat{.kind = Colour,
                                                       .table = &ParameterState::ColourParameters,
                                                       .name = &ColourParameter::Name,
                                                       .definition = kColourLines,
                                                       .inTemplates = true,
                                                       .templateBlock = kColourBlock};

// ---- 4 Font -------------------------------------------------------------------------
inline constexpr Line<FontParameter> kFontLines[] = {
    AsText(&FontParameter::FontName),      // 1
    AsWhole16(&FontParameter::Bold),       // 2
    AsWhole16(&FontParameter::Italic),     // 3
    AsWhole16(&FontParameter::Underline),  // 4
    AsWhole16(&FontParameter::StrikeThru), // 5
    AsWhole16(&FontParameter::Size),       // 6
    AsText(&FontParameter::Name),          // 7
    AsText(&FontParameter::Description),   // 8
};
inline constexpr Line<FontParameter> kFontBlock[] = {
    AsText(&FontParameter::FontName),      AsWhole16(&FontParameter::Size),
    AsWhole16(&FontParameter::Bold),       AsWhole16(&FontParameter::Italic),
    AsWhole16(&FontParameter::StrikeThru), AsWhole16(&FontParameter::Underline),
};
inline constexpr Format<FontParameter> kFontFormat{.kind = Font,
                                                   .table = &ParameterState::FontParameters,
                                                   .name = &FontParameter::Name,
                                                   .definition = kFontLines,
                                                   .inTemplates = true,
                                                   .templateBlock = kFontBlock};

// ---- 5 Text -------------------------------------------------------------------------
inline constexpr Line<TextParameter> kTextLines[] = {
    NotKept<TextParameter>(C::Whole16),  // 1 (not kept)
    NotKept<TextParameter>(C::Whole16),  // 2 (not kept)
    AsText(&TextParameter::Value),       // 3
    NotKept<TextParameter>(C::Text),     // 4 (not kept)
    NotKept<TextParameter>(C::Text),     // 5 (not kept)
    NotKept<TextParameter>(C::Truth),    // 6 (not kept)
    AsText(&TextParameter::Name),        // 7
    AsText(&TextParameter::Description), // 8
};
inline constexpr Line<TextParameter> kTextBlock[] = {
    AsText(&TextParameter::Value),
};
inline constexpr Format<TextParameter> kTextFormat{.kind = Text,
                                                   .table = &ParameterState::TextParameters,
                                                   .name = &TextParameter::Name,
                                                   .definition = kTextLines,
                                                   .inTemplates = true,
                                                   .templateBlock = kTextBlock};

// ---- 6 List: a table of 1 to 3 columns ----------------------------------------------
inline constexpr Line<ListParameter> kListLines[] = {
    NotKept<ListParameter>(C::Whole16), // 1 (not kept)
    NotKept<ListParameter>(C::Whole16), // 2 (not kept)
    AsCount(&ListParameter::Columns, 1, 3, "a list has 1 to 3 columns, not {}")
        .Then(ResetListEntries),      // 3
    AsText(&ListParameter::CaseRule), // 4
    AsCount(&ListParameter::Rows, 0, 32767, "a list cannot have a negative number of rows")
        .Then(ResetListEntries),            // 5
    AsText(&ListParameter::EntryFormat),    // 6
    AsWhole16(&ListParameter::LineBreak),   // 7
    AsText(&ListParameter::ColumnCaption1), // 8
    AsText(&ListParameter::ColumnCaption2), // 9
    AsText(&ListParameter::ColumnCaption3), // 10
    AsText(&ListParameter::Name),           // 11
    AsText(&ListParameter::Description),    // 12
};
// From line 13 on, and in a template after the two counts: the entries column by column.
inline constexpr Columns<ListParameter> kListEntries{
    .rows = &ListParameter::Rows,
    .width = ListWidth,
    .cell = ListEntry,
    .whenNoRows = "an entry line for a list with no rows",
    .beyondLast = "more entry lines than the list's rows times columns"};
inline constexpr Line<ListParameter> kListBlock[] = {
    AsLeadingCount(&ListParameter::Rows, 0, 32767).Then(ResetListEntries),
    AsLeadingCount(&ListParameter::Columns, 0, 3).Then(ResetListEntries),
};
inline constexpr Format<ListParameter> kListFormat{.kind = List,
                                                   .table = &ParameterState::ListParameters,
                                                   .name = &ListParameter::Name,
                                                   .definition = kListLines,
                                                   .definitionRest = &kListEntries,
                                                   .inTemplates = true,
                                                   .templateBlock = kListBlock,
                                                   .templateRest = &kListEntries};

// ---- 7 Option: one of Count choices (not stored in templates) -----------------------
inline constexpr Line<OptionParameter> kOptionLines[] = {
    AsWhole16(&OptionParameter::Selected), // 1
    AsCount(&OptionParameter::Count, 0, 32767, "an option parameter cannot have a negative count")
        .Then(SizeOptionTexts),            // 2
    AsText(&OptionParameter::Name),        // 3
    AsText(&OptionParameter::Description), // 4
};
// From line 5 on: Count captions, then Count texts.
inline constexpr Columns<OptionParameter> kOptionTexts{
    .rows = &OptionParameter::Count,
    .width = OptionWidth,
    .cell = OptionText,
    .whenNoRows = "more option lines than the option count allows",
    .beyondLast = "more option lines than the option count allows"};
inline constexpr Format<OptionParameter> kOptionFormat{.kind = Option,
                                                       .table = &ParameterState::OptionParameters,
                                                       .name = &OptionParameter::Name,
                                                       .definition = kOptionLines,
                                                       .definitionRest = &kOptionTexts};

// ---- 8 Reserved: no record; every value line is ignored, no template block ----------

// ---- 9 Mouseover: texts for the sample page's links (one per script) ----------------
inline constexpr Line<MouseoverParameter> kMouseoverLines[] = {
    AsText(&MouseoverParameter::Caption1),    // 1
    AsText(&MouseoverParameter::Caption2),    // 2
    AsText(&MouseoverParameter::Template),    // 3
    AsText(&MouseoverParameter::Name),        // 4
    AsText(&MouseoverParameter::Description), // 5
};
inline constexpr Format<MouseoverParameter> kMouseoverFormat{
    .kind = Mouseover,
    .single = &ParameterState::Mouseover,
    .name = &MouseoverParameter::Name,
    .definition = kMouseoverLines,
    .pageLinksAfterLine = 5,
    .inTemplates = true,
    .linkTexts = true}; // the link count, then LinkText, Text1 and Text2 of each link

// ---- 10 Position: two numbers --------------------------------------------------------
inline constexpr Line<PositionParameter> kPositionLines[] = {
    AsWhole16(&PositionParameter::Min1),      // 1
    AsWhole16(&PositionParameter::Min2),      // 2
    AsWhole16(&PositionParameter::Max1),      // 3
    AsWhole16(&PositionParameter::Max2),      // 4
    AsReal(&PositionParameter::LargeChange1), // 5
    AsReal(&PositionParameter::LargeChange2), // 6
    AsText(&PositionParameter::ValueSuffix1), // 7
    AsText(&PositionParameter::ValueSuffix2), // 8
    AsReal(&PositionParameter::Value1),       // 9
    AsReal(&PositionParameter::Value2),       // 10
    AsText(&PositionParameter::Caption1),     // 11
    AsText(&PositionParameter::Caption2),     // 12
    AsText(&PositionParameter::Name),         // 13
    AsText(&PositionParameter::Description),  // 14
};
inline constexpr Line<PositionParameter> kPositionBlock[] = {
    AsWhole16(&PositionParameter::Value1),
    AsWhole16(&PositionParameter::Value2),
};
inline constexpr Format<PositionParameter> kPositionFormat{.kind = Position,
                                                           .table =
                                                               &ParameterState::PositionParameters,
                                                           .name = &PositionParameter::Name,
                                                           .definition = kPositionLines,
                                                           .inTemplates = true,
                                                           .templateBlock = kPositionBlock};

// ---- 11 Menu: nested entries with captions and links (one per script) ---------------
inline constexpr Line<MenuParameter> kMenuLines[] = {
    AsCount(&MenuParameter::Count, 0, 32767, "a menu cannot have a negative count")
        .Then(ResetMenuEntries),         // 1
    AsText(&MenuParameter::Suffix),      // 2
    AsText(&MenuParameter::Name),        // 3
    AsText(&MenuParameter::Description), // 4
};
// From line 5 on, and in a template after the count: Count entries, Count captions,
// Count links (in definition files, later lines are ignored).
inline constexpr Columns<MenuParameter> kMenuTexts{
    .rows = &MenuParameter::Count,
    .width = MenuWidth,
    .cell = MenuText,
    .whenNoRows = "a menu entry line for a menu whose count is 0"};
inline constexpr Line<MenuParameter> kMenuBlock[] = {
    AsLeadingCount(&MenuParameter::Count, 0, 32767).Then(ResetMenuEntries),
};
inline constexpr Format<MenuParameter> kMenuFormat{.kind = Menu,
                                                   .single = &ParameterState::Menu,
                                                   .name = &MenuParameter::Name,
                                                   .definition = kMenuLines,
                                                   .definitionRest = &kMenuTexts,
                                                   .inTemplates = true,
                                                   .templateBlock = kMenuBlock,
                                                   .templateRest = &kMenuTexts};

// ---- 12 Info: the script information, named "Info" (not stored in templates) -------
inline constexpr Line<ScriptInfo> kInfoLines[] = {
    AsText(&ScriptInfo::IE),      // 1
    AsText(&ScriptInfo::NS),      // 2
    AsText(&ScriptInfo::Repeat),  // 3
    AsText(&ScriptInfo::Note),    // 4
    AsText(&ScriptInfo::Author),  // 5
    AsText(&ScriptInfo::Support), // 6
    AsText(&ScriptInfo::Size),    // 7
    AsText(&ScriptInfo::Type),    // 8
};
inline constexpr Format<ScriptInfo> kInfoFormat{
    .kind = Info, .single = &ParameterState::Info, .definition = kInfoLines};

// ---- Names ------------------------------------------------------------------------
// Names that stand for a kind whatever a script declares ("App" and "Var" are no
// parameters: placeholders use them for program-wide values).
constexpr const char* ReservedNameOf(int16_t kind) {
    return kind == Info ? "Info" : kind == App ? "App" : kind == Var ? "Var" : nullptr;
}

// The kind lookup tests the kinds in this order; a later match wins.
inline constexpr ParameterKind kKindLookupOrder[] = {Colour, File,   Font, Image,    Int,
                                                     List,   Option, Text, Reserved, Mouseover,
                                                     Menu,   App,    Var,  Info,     Position};
// The ordinal lookup's order; a later match wins.
inline constexpr ParameterKind kOrdinalLookupOrder[] = {
    Colour, File, Font, Image, Int, List, Option, Text, Position, Mouseover, Menu, App, Var};

// Calls f with the format of the kind; false for a kind without records (Reserved, App,
// Var and codes outside 0..12).
template <class F> bool VisitFormat(int16_t kind, F&& f) {
    switch (kind) {
    case Int:
        f(kIntFormat);
        return true;
    case File:
        f(kFileFormat);
        return true;
    case Image:
        f(kImageFormat);
        return true;
    case Colour:
        f(kColourFormat);
        return true;
    case Font:
        f(kFontFormat);
        return true;
    case Text:
        f(kTextFormat);
        return true;
    case List:
        f(kListFormat);
        return true;
    case Option:
        f(kOptionFormat);
        return true;
    case Mouseover:
        f(kMouseoverFormat);
        return true;
    case Position:
        f(kPositionFormat);
        return true;
    case Menu:
        f(kMenuFormat);
        return true;
    case Info:
        f(kInfoFormat);
        return true;
    default:
        return false;
    }
}

} // namespace pelto::kinds
