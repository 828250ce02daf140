#include "library/definition_reader.h"
#include "library/lookup.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

class Lookup : public ::testing::Test {
protected:
    Workspace ws;
    void Declare(const std::string& text) { ASSERT_TRUE(ReadDefinitionText(ws, text, "fx.par")); }
};

TEST_F(Lookup, ListsNamesWithTheirKindCodes) {
    Declare("*\r\n0\r\n0\r\n10\r\n1\r\n\r\n5\r\nSpeed\r\nd\r\n"
            "*\r\n3\r\n255\r\nBack\r\nd\r\n"
            "*\r\n12\r\nie\r\nns\r\n// end\r\n");
    auto entries = FillParameterList(ws);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "Speed");
    EXPECT_EQ(entries[0].itemNumber, 0);
    EXPECT_EQ(entries[1].text, "Back");
    EXPECT_EQ(entries[1].itemNumber, 3);
    EXPECT_EQ(entries[2].text, "Info");
    EXPECT_EQ(entries[2].itemNumber, 12);
    EXPECT_EQ(GetParameterKind(ws, "Back"), Colour);
    EXPECT_EQ(GetParameterOrdinal(ws, "Back"), 1);
    EXPECT_EQ(GetParameterKind(ws, "back"), 0); // names compare with case
    EXPECT_EQ(GetParameterOrdinal(ws, "back"), 0);
    EXPECT_EQ(ParameterNameAt(ws, 2), "Back");
    EXPECT_EQ(ParameterNameOf(ws, 1, 99), "Invalid Parameter");
}

TEST_F(Lookup, ReservedNamesWinOverDeclaredOnes) {
    Declare("*\r\n5\r\n0\r\n0\r\nv\r\n\r\n\r\n0\r\nInfo\r\nd\r\n"
            "*\r\n5\r\n0\r\n0\r\nv\r\n\r\n\r\n0\r\nVar\r\nd\r\n// end\r\n");
    EXPECT_EQ(GetParameterKind(ws, "Info"), Info);
    EXPECT_EQ(GetParameterKind(ws, "Var"), Var);
    EXPECT_EQ(GetParameterOrdinal(ws, "Var"), 0);
    EXPECT_EQ(GetParameterKind(ws, "App"), App);
}

TEST_F(Lookup, PositionIsTestedLast) {
    Declare("*\r\n5\r\n0\r\n0\r\nv\r\n\r\n\r\n0\r\nWhere\r\nd\r\n"
            "*\r\n10\r\n0\r\n0\r\n9\r\n9\r\n1\r\n1\r\n\r\n\r\n1\r\n2\r\nx\r\ny\r\nWhere\r\nd\r\n// "
            "end\r\n");
    EXPECT_EQ(GetParameterKind(ws, "Where"), Position);
    EXPECT_EQ(GetParameterOrdinal(ws, "Where"), 1);
}

} // namespace
} // namespace pelto
