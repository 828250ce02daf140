#pragma once
// A temporary program folder with scripts whose items are written by the test.
#include "library/workspace.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelto::test {

inline const std::string kMouseMarker =
    "/* next mouse handler code goes here, sfljhadlrjtlkhg;kkdhkjqewjklwf do not change this "
    "line in any case */";
inline const std::string kOnloadMarker =
    "/* next onload handler code goes here, 89ui24809450u23hflkjwekkjd934 do not change this "
    "line in any case */";
inline const std::string kScrollMarker =
    "/* next scroll handler code goes here, mlkdfjlkweij5tphjlkweqkjsdjklg do not change this "
    "line in any case */";
inline const std::string kResizeMarker =
    "/* next resize handler code goes here, mkqwlkskjldsafjl3t9iyeiou4w5ukhtr do not change "
    "this line in any case */";

struct Item {
    std::string location;
    std::string code;
    std::string external = "";
    int16_t include = 1;
    int16_t once = 0;
};

class AttachFixture : public ::testing::Test {
protected:
    TempProgramFolder home;
    Workspace ws;

    void SetUp() override {
        ws.ProgramFolder = home.path();
        ws.MouseHandlerText = "<script>M{\r\n" + kMouseMarker + "\r\n}</script>";
        ws.OnloadHandlerText = "<script>L{\r\n" + kOnloadMarker + "\r\n}</script>";
        ws.OnscrollHandlerText = "<script>S{\r\n" + kScrollMarker + "\r\n}</script>";
        ws.OnresizeHandlerText = "<script>R{\r\n" + kResizeMarker + "\r\n}</script>";
    }

    // Adds a script to the library (its code files scrambled into data/) and makes it
    // the current one.
    int16_t AddScript(const std::string& id, const std::vector<Item>& items) {
        ScriptRecord r;
        r.ScriptId = id;
        r.Name = "Effect " + id;
        r.IdPrefix = id;
        r.IdStride = 100;
        r.HeaderFile = id + ".hdr";
        r.ParameterFile = id + ".par";
        r.ItemCount = std::to_string(items.size());
        for (size_t k = 0; k < items.size(); ++k) {
            const std::string file = id + "_" + std::to_string(k + 1) + ".dat";
            home.WriteScrambled(file, items[k].code);
            r.ItemLocation.push_back(items[k].location);
            r.ItemCodeFile.push_back(file);
            r.ItemExternalName.push_back(items[k].external);
            r.ItemInclude.push_back(items[k].include);
            r.ItemOnce.push_back(items[k].once);
        }
        ws.Library.push_back(r);
        ws.CurrentScriptIndex = static_cast<int16_t>(ws.Library.size() - 1);
        ws.CurrentParameterFile = r.ParameterFile;
        return ws.CurrentScriptIndex;
    }

    static std::string Output(const std::string& id, const std::string& page) {
        return "<!--2erghdf45yr" + id + "-->\r\n" + page + "\r\n";
    }
};

} // namespace pelto::test
