#pragma once
// A temporary program folder and a script with one parameter of every stored kind.
#include "library/workspace.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto::test {

class TemplateFixture : public ::testing::Test {
protected:
    TempProgramFolder home;
    Workspace ws;

    int16_t Add(int16_t kind) {
        ParameterState& p = ws.Params;
        ++p.ParameterCount;
        if (kind == Mouseover || kind == Reserved)
            p.KindCount[kind] = 1;
        else
            ++p.KindCount[kind];
        p.ParameterRecords[p.ParameterCount] = {kind, p.KindCount[kind]};
        return p.KindCount[kind];
    }

    void SetUp() override {
        ws.ProgramFolder = home.path();
        ws.CurrentParameterFile = "fx.par";
        ParameterState& p = ws.Params;
        p.IntParameters[Add(Int)].Name = "Speed"; // position 0
        p.IntParameters[1].Value = 5;
        p.ColourParameters[Add(Colour)].Name = "Back"; // 1
        p.ColourParameters[1].Colour = 255;
        ListParameter& l = p.ListParameters[Add(List)]; // 2
        l.Name = "Items";
        l.Rows = 2;
        l.Columns = 2;
        l.Entries = {{"a0", "b0"}, {"a1", "b1"}};
        Add(Menu); // 3
        p.Menu.Name = "Nav";
        p.Menu.Count = 3;
        p.Menu.ResetEntries();
        for (int i = 1; i <= 3; ++i) {
            p.Menu.MenuEntries[i] = std::string(i == 3 ? ">" : "") + "e" + std::to_string(i);
            p.Menu.MenuCaptions[i] = "c" + std::to_string(i);
            p.Menu.MenuLinks[i] = "l" + std::to_string(i);
        }
        OptionParameter& o = p.OptionParameters[Add(Option)]; // 4
        o.Name = "Dir";
        o.Count = 2;
        o.Texts = {"l", "r", ""};
        FontParameter& f = p.FontParameters[Add(Font)]; // 5
        f.Name = "Face";
        f.FontName = "Verdana";
        f.Size = 12;
        f.Bold = 1;
        f.Underline = 1;
        FileParameter& file = p.FileParameters[Add(File)]; // 6
        file.Name = "Sound";
        file.FileName = "a.wav";
        file.Path = "/m/";
        ImageParameter& image = p.ImageParameters[Add(Image)]; // 7
        image.Name = "Pic";
        image.FileName = "p.gif";
        image.Path = "/i/";
        p.TextParameters[Add(Text)].Name = "Title"; // 8
        p.TextParameters[1].Value = "Hello";
        PositionParameter& pos = p.PositionParameters[Add(Position)]; // 9
        pos.Name = "Where";
        pos.Value1 = 10;
        pos.Value2 = -20;
        Add(Mouseover); // 10
        p.Mouseover.Name = "Hover";
        for (const char* text : {"Home", "News"}) {
            PageLink link;
            link.LinkText = text;
            link.Text1 = text;
            p.Mouseover.Links.push_back(link);
        }
        Add(Info); // 11
    }

    std::string Read(const std::string& file) const {
        return ReadAll(home.path() / "userdata" / file);
    }
};

} // namespace pelto::test
