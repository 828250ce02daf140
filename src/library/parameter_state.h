#pragma once
// The parameters of the one script being edited: declared by its definition file,
// changed in place by the parameter page and by templates, read by the expansion and
// by page attachment.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pelto {

enum ParameterKind : int16_t {
    Int = 0,
    File = 1,
    Image = 2,
    Colour = 3,
    Font = 4,
    Text = 5,
    List = 6,
    Option = 7,
    Reserved = 8,
    Mouseover = 9,
    Position = 10,
    Menu = 11,
    Info = 12,
    App = 13,
    Var = 14,
};

constexpr int MaxParameters = 100;
constexpr int MaxPerKind = 30;
constexpr int KindCodes = 13; // 0..12 are written in definition files

struct ParameterRecord {
    int16_t Kind = 0;
    int16_t Ordinal = 0;
};

struct IntParameter {
    int16_t Min = 0;
    int16_t Max = 0;
    double LargeChange = 0;
    std::string ValueSuffix;
    double Value = 0;
    std::string Name;
    std::string Description;
};

// File and image parameters share one layout.
struct FileParameter {
    std::string Pattern;
    std::string Path; // runtime: chosen folder, ending in the directory separator
    std::string FileName;
    std::string Name;
    std::string Description;
};
using ImageParameter = FileParameter;

struct ColourParameter {
    int16_t Red = 0; // runtime; follow Colour whenever Colour is set from a file
    int16_t Green = 0;
    int16_t Blue = 0;
    int32_t Colour = 0; // red in the lowest byte, green in the second, blue in the third
    std::string Name;
    std::string Description;
};

struct FontParameter {
    std::string FontName;
    int16_t Bold = 0;
    int16_t Italic = 0;
    int16_t Underline = 0;
    int16_t StrikeThru = 0;
    int16_t Size = 0;
    std::string Name;
    std::string Description;
};

struct TextParameter {
    std::string Value;
    std::string Name;
    std::string Description;
};

struct ListParameter {
    int16_t Columns = 0;
    int16_t Rows = 0;
    std::string CaseRule;
    std::string Name;
    std::string EntryFormat;
    std::string ColumnCaption1;
    std::string ColumnCaption2;
    std::string ColumnCaption3;
    int16_t LineBreak = 0;
    std::string Description;
    // Entries[row][column], rows 0..Rows-1, columns 0..Columns-1.
    std::vector<std::vector<std::string>> Entries;

    // Resizes Entries to Rows x Columns, emptying every entry.
    void ResetEntries();
};

struct OptionParameter {
    int16_t Selected = 0;
    int16_t Count = 0;
    std::string Name;
    std::string Description;
    std::vector<std::string> Captions; // 0..Count (Count-1 used)
    std::vector<std::string> Texts;    // 0..Count (Count-1 used)
};

// One link of the sample page (index 0 of the table stays empty). Positions are byte
// offsets of the page and are not limited to 16 bits.
struct PageLink {
    std::string LinkText;
    std::string Text1;
    std::string Text2;
    int64_t LinkStart = 0; // the "<" that opens the link
    int64_t LinkEnd = 0;   // the ">" that ends the closing tag
};

struct MouseoverParameter {
    std::string Caption1;
    std::string Caption2;
    std::string Template;
    std::string Name;
    std::string Description;
    std::vector<PageLink> Links{PageLink{}}; // 1..LinkCount()

    int LinkCount() const { return static_cast<int>(Links.size()) - 1; }
};

struct PositionParameter {
    int16_t Min1 = 0;
    int16_t Max1 = 0;
    int16_t Min2 = 0;
    int16_t Max2 = 0;
    double LargeChange1 = 0;
    double LargeChange2 = 0;
    std::string ValueSuffix1;
    std::string ValueSuffix2;
    double Value1 = 0;
    double Value2 = 0;
    std::string Caption1;
    std::string Caption2;
    std::string Name;
    std::string Description;
};

struct MenuParameter {
    int16_t Count = 0;
    std::string Suffix;
    std::string Name;
    std::string Description;
    std::vector<std::string> MenuEntries{""};  // 1..Count
    std::vector<std::string> MenuCaptions{""}; // 1..Count
    std::vector<std::string> MenuLinks{""};    // 1..Count
    std::vector<std::string> MenuLines{""};    // 1..Count, made by BuildMenuLines

    // Resizes the four arrays to 0..Count, emptying every element.
    void ResetEntries();
};

struct ScriptInfo {
    std::string IE;
    std::string NS;
    std::string Repeat;
    std::string Note;
    std::string Author;
    std::string Support;
    std::string Size;
    std::string Type;
};

struct Condition {
    std::string Parameter;
    std::string Test; // upper case
    std::string Format;
};

struct ParameterState {
    int16_t ParameterCount = 0;
    std::array<ParameterRecord, MaxParameters + 1> ParameterRecords{}; // 1..ParameterCount
    std::array<int16_t, KindCodes> KindCount{};                        // per kind 0..12

    // Record tables, entries 1..30 (element 0 unused).
    std::array<IntParameter, MaxPerKind + 1> IntParameters{};
    std::array<FileParameter, MaxPerKind + 1> FileParameters{};
    std::array<ImageParameter, MaxPerKind + 1> ImageParameters{};
    std::array<ColourParameter, MaxPerKind + 1> ColourParameters{};
    std::array<FontParameter, MaxPerKind + 1> FontParameters{};
    std::array<TextParameter, MaxPerKind + 1> TextParameters{};
    std::array<ListParameter, MaxPerKind + 1> ListParameters{};
    std::array<OptionParameter, MaxPerKind + 1> OptionParameters{};
    std::array<PositionParameter, MaxPerKind + 1> PositionParameters{};
    MouseoverParameter Mouseover;
    MenuParameter Menu;
    ScriptInfo Info;
    std::string ReservedName; // the name of the kind-8 parameter; never set

    std::vector<Condition> Conditions{Condition{}}; // 1..n
    int32_t LineNumber = 1; // wider than 16 bits: a list of 32767 rows by 3 columns has 98313 lines
};

} // namespace pelto
