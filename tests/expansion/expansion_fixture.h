#pragma once
// A workspace with one parameter of every kind, for the expansion tests.
#include "common/cp1252.h"
#include "library/workspace.h"

#include <string>

namespace pelto::test {

// The placeholder text for "Name,KEYWORD" (the marks are bytes 174 and 175).
inline std::string P(const std::string& inner) {
    return "\xAE" + inner + "\xAF";
}

// A value as the program holds it (UTF-8), written as the Windows-1252 bytes of its
// text; a placeholder in it has the marks as the characters U+00AE and U+00AF.
inline std::string U(std::string_view windows1252) {
    return Cp1252ToUtf8(windows1252);
}

inline int16_t AddParameter(Workspace& ws, int16_t kind) {
    ParameterState& p = ws.Params;
    ++p.ParameterCount;
    if (kind == Mouseover || kind == Reserved)
        p.KindCount[kind] = 1;
    else
        ++p.KindCount[kind];
    p.ParameterRecords[p.ParameterCount] = {kind, p.KindCount[kind]};
    return p.KindCount[kind];
}

inline Workspace MakeExpansionWorkspace() {
    Workspace ws;
    ws.ProgramFolder = "/prog";
    ScriptRecord script;
    script.ScriptId = "fx";
    script.Name = "Effect";
    script.IdPrefix = "pv";
    script.IdStride = 10;
    ws.Library.push_back(script);
    ws.CurrentScriptIndex = 1;
    ParameterState& p = ws.Params;

    p.IntParameters[AddParameter(ws, Int)].Name = "Speed";
    p.IntParameters[1].Value = 5;
    p.IntParameters[AddParameter(ws, Int)].Name = "Half";
    p.IntParameters[2].Value = -2.5;

    FileParameter& f = p.FileParameters[AddParameter(ws, File)];
    f.Name = "Sound";
    f.Path = "/music/";
    f.FileName = "beep.wav";
    ImageParameter& im = p.ImageParameters[AddParameter(ws, Image)];
    im.Name = "Picture";
    im.Path = "/pics/";
    im.FileName = "sun.gif";

    ColourParameter& c = p.ColourParameters[AddParameter(ws, Colour)];
    c.Name = "Back";
    c.Colour = 5 + (16 << 8) + (255 << 16); // red 5, green 16, blue 255
    c.Red = 5;
    c.Green = 16;
    c.Blue = 255;

    FontParameter& font = p.FontParameters[AddParameter(ws, Font)];
    font.Name = "Face";
    font.FontName = "Verdana";
    font.Size = 12;
    font.Bold = 1;
    font.Italic = 0;
    font.Underline = 1;
    font.StrikeThru = 0;
    FontParameter& odd = p.FontParameters[AddParameter(ws, Font)];
    odd.Name = "Odd";
    odd.Bold = 2;
    odd.Italic = -1;

    p.TextParameters[AddParameter(ws, Text)].Name = "Title";
    p.TextParameters[1].Value = "Hello, world";

    OptionParameter& o = p.OptionParameters[AddParameter(ws, Option)];
    o.Name = "Dir";
    o.Count = 2;
    o.Selected = 1;
    o.Captions = {"Left", "Right", ""};
    o.Texts = {"left", "right", ""};
    OptionParameter& bad = p.OptionParameters[AddParameter(ws, Option)];
    bad.Name = "BadDir";
    bad.Count = 2;
    bad.Selected = 2; // outside the options
    bad.Texts = {"a", "b", "c"};

    ListParameter& l = p.ListParameters[AddParameter(ws, List)];
    l.Name = "Items";
    l.Columns = 2;
    l.Rows = 3;
    l.EntryFormat = "[*:#]";
    l.LineBreak = 0;
    l.Entries = {{"a", "x"}, {"  ", "y"}, {"c", "z"}};

    PositionParameter& pos = p.PositionParameters[AddParameter(ws, Position)];
    pos.Name = "Where";
    pos.Value1 = 10;
    pos.Value2 = 20.5;

    AddParameter(ws, Menu);
    p.Menu.Name = "Nav";
    p.Menu.Count = 2;
    p.Menu.MenuLines = {"", "Menu1 = a", "Menu2 = b"};
    ws.TopLevelCount = 2;

    AddParameter(ws, Mouseover);
    p.Mouseover.Name = "Hover";
    AddParameter(ws, Info);
    return ws;
}

} // namespace pelto::test
