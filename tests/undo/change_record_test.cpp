// The change record's manifest: what is written reads back, odd paths included; a line
// cut short by a power cut is ignored; a damaged line is named.
#include "undo/change_record.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

TEST(ChangeRecord, ReadsBackWhatWasWrittenWithOddPaths) {
    ChangedFile replaced;
    replaced.number = 1;
    replaced.path = "/site/a\tb%20\nc.htm";
    replaced.mode = 0600;
    replaced.existed = true;
    replaced.beforeSize = 12;
    replaced.beforeSha = std::string(64, 'a');
    replaced.afterSize = 30;
    replaced.afterSha = std::string(64, 'b');
    ChangedFile created;
    created.number = 2;
    created.path = "/site/fx.js";
    created.afterSize = 5;
    created.afterSha = std::string(64, 'c');
    const std::string text =
        ManifestHeader("2026-12-10 15:30:00", "fx", "Effect \xE9", "copy") +
        ManifestPageLine(replaced.path) + ManifestFileLine(replaced) + ManifestFileLine(created) +
        ManifestAfterLine(2, 6, std::string(64, 'd')) + kManifestEnd + "page\t/cut/short";
    auto info = ParseManifest(text, "m");
    ASSERT_TRUE(info.ok()) << info.error().text();
    EXPECT_EQ(info->time, "2026-12-10 15:30:00");
    EXPECT_EQ(info->scriptId, "fx");
    EXPECT_EQ(info->effectName, "Effect \xE9");
    EXPECT_EQ(info->option, "copy");
    EXPECT_EQ(info->pages, std::vector<std::string>{replaced.path});
    EXPECT_TRUE(info->complete);
    ASSERT_EQ(info->files.size(), 2u);
    EXPECT_EQ(info->files[0].path, replaced.path);
    EXPECT_EQ(info->files[0].mode, 0600u);
    EXPECT_TRUE(info->files[0].existed);
    EXPECT_EQ(info->files[0].beforeSize, 12u);
    EXPECT_EQ(info->files[0].beforeSha, replaced.beforeSha);
    EXPECT_FALSE(info->files[1].existed);
    EXPECT_EQ(info->files[1].afterSize, 6u);
    EXPECT_EQ(info->files[1].afterSha, std::string(64, 'd'));
}

TEST(ChangeRecord, DamagedLinesAreNamedWithTheirLine) {
    struct Case {
        std::string text;
        long line;
    };
    const std::string head = ManifestHeader("t", "fx", "n", "copy");
    for (const Case& c :
         {Case{"something else\n", 1}, Case{head + "file\tx\t/p\t644\t-\t-\t1\tab\n", 5},
          Case{head + "after\t7\t1\tab\n", 5}, Case{head + "strange\n", 5}}) {
        auto info = ParseManifest(c.text, "m");
        ASSERT_FALSE(info.ok()) << c.text;
        EXPECT_EQ(info.error().file, "m");
        EXPECT_EQ(info.error().line, c.line) << c.text;
    }
    EXPECT_FALSE(ParseManifest("", "m").ok());
}

} // namespace
} // namespace pelto
