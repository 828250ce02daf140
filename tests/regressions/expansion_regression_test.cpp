// Values that contain placeholders of themselves: once each line of such a value grew
// by about 140 KB (a code file of 300 lines came out at 41 MB). A placeholder met inside
// its own value now stays as it stands, and chains of values that repeat each other
// share one budget per file.
#include "attach/output_folder.h"
#include "expansion/placeholder.h"
#include "library/definition_reader.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

const std::string O(1, kOpeningMark);
const std::string C(1, kClosingMark);

std::string P(const std::string& name, const std::string& keyword = "TEXTVALUE") {
    return O + name + "," + keyword + C;
}

class SelfReference : public ::testing::Test {
protected:
    void SetUp() override {
        ResetParameterState(ws_);
        std::string d = test::CrLf({"*", "0", "0", "10", "1", "", "5", "Speed", "n"});
        Text(d, "Self", "me " + P("Self"));
        Text(d, "Ping", "ping " + P("Pong"));
        Text(d, "Pong", "pong " + P("Ping"));
        Text(d, "Greeting", "Hi " + P("Speed", "INTVALUE"));
        Text(d, "Twice", P("Bee") + " " + P("Bee"));
        Text(d, "Bee", "b");
        for (int i = 0; i < 20; ++i)
            Text(d, "Chain" + std::to_string(i),
                 P("Chain" + std::to_string(i + 1)) + P("Chain" + std::to_string(i + 1)));
        Text(d, "Chain20", "end");
        d += "-\r\n";
        Status st = ReadDefinitionText(ws_, d, "self.par");
        ASSERT_TRUE(st.ok()) << st.error().text();
    }
    static void Text(std::string& d, const std::string& name, const std::string& value) {
        d += test::CrLf({"*", "5", "0", "0", value, "", "", "True", name, "t"});
    }
    Workspace ws_;
};

struct LineCase {
    const char* name;
    std::string line;
    std::string expanded;
};

class SelfReferenceLine : public SelfReference, public ::testing::WithParamInterface<LineCase> {};

TEST_P(SelfReferenceLine, ExpandsOnceAndLeavesTheInnerPlaceholder) {
    EXPECT_EQ(ExpandLine(ws_, GetParam().line), GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelfReferenceLine,
    ::testing::Values(LineCase{"itself", "x=" + P("Self") + ";", "x=me " + P("Self") + ";"},
                      LineCase{"keyword_in_other_case", P("Self", "textValue"), "me " + P("Self")},
                      LineCase{"through_another", P("Ping"), "ping pong " + P("Ping")},
                      LineCase{"twice_side_by_side", P("Self") + "|" + P("Self"),
                               "me " + P("Self") + "|me " + P("Self")},
                      LineCase{"another_parameter_inside", P("Greeting"), "Hi 5"},
                      LineCase{"the_same_inner_one_twice", P("Twice"), "b b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelfReference, AFileOfSelfReferencesGrowsOnlyByItsValues) {
    std::string code;
    for (int i = 0; i < 300; ++i)
        code += "var a = \"" + P("Self") + "\";\r\n";
    const std::string out = ExpandText(ws_, code);
    EXPECT_EQ(out.size(), code.size() + 300 * 3 + 2);
}

TEST_F(SelfReference, ChainsThatDoubleShareOneBudgetPerFile) {
    std::string code;
    for (int i = 0; i < 300; ++i)
        code += P("Chain0") + "\r\n";
    const std::string out = ExpandText(ws_, code);
    // 2^20 copies of "end" would be 3 MB per line; the file stays near its budget.
    EXPECT_LT(out.size(), ExpansionBudget(code.size()) + 300 * 64);
    EXPECT_NE(out.find("endend"), std::string::npos);
}

} // namespace
} // namespace pelto
