#include "exclude_rules.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "app_settings.h"
#include "exclude_rule_store.h"
#include "file_tree.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::ScopedConfigHome;

struct MatchRow {
    std::string pattern;
    std::string path;
    bool isFolder;
    bool excluded;
};

TEST(ExcludeRulesTest, PatternsMatchNamesAndPathsAsBytes) {
    constexpr bool F = true;   // a folder
    constexpr bool f = false;  // a file
    const std::vector<MatchRow> rows = {
        // Comments and blank lines match nothing.
        {"# *.txt", "# *.txt", f, false},
        {" \t", " \t", f, false},
        // Without "/": the name, at any depth; case-sensitive.
        {"*.tmp", "x.tmp", f, true},
        {"*.tmp", "a/b/x.tmp", f, true},
        {"*.tmp", "x.tmpl", f, false},
        {"*.tmp", "X.TMP", f, false},
        {".git", "src/.git", F, true},
        {"a*b*c", "axxbyyc", f, true},
        {"a*b*c", "axxbyyc.d", f, false},
        {"**", "any/thing", f, true},
        // A trailing "/": folders only.
        {"build/", "a/build", F, true},
        {"build/", "a/build", f, false},
        {"**/", "a/b", F, true},
        // "?" and classes take one character: UTF-8, or else one byte.
        {"?.txt", "ab.txt", f, false},
        {"?.txt", "\xc3\xa9.txt", f, true},
        {"?.txt", "\xe9.txt", f, true},
        {"[a-c]x", "bx", f, true},
        {"[a-c]x", "dx", f, false},
        {"[!a-c]x", "dx", f, true},
        {"[^a-c]x", "bx", f, false},
        {"[]-]x", "]x", f, true},
        {"[\xc3\xa0-\xc3\xbf].txt", "\xc3\xa9.txt", f, true},
        // "\" makes the next character literal; "#" and "!" are plain once escaped.
        {"\\*.txt", "*.txt", f, true},
        {"\\*.txt", "a.txt", f, false},
        {"\\#notes", "#notes", f, true},
        {"\\!x", "!x", f, true},
        {"\\ x\\ ", " x ", f, true},
        // Names that are not UTF-8, and text that must end on a character boundary.
        {"caf\xe9*", "caf\xe9-1.jpg", f, true},
        {"\xc3*", "\xc3\xa9t\xc3\xa9", f, false},
        {"\xc3*", "\xc3x", f, true},
        {"*\xa9", "x\xc3\xa9", f, false},
        {"*\xa9", "x\xa9", f, true},
        // A leading or inner "/": the path from the top.
        {"/build", "build", F, true},
        {"/build", "src/build", F, false},
        {"/*.tmp", "a/x.tmp", f, false},
        {"docs/*.md", "docs/a.md", f, true},
        {"docs/*.md", "docs/sub/a.md", f, false},
        {"docs/*.md", "x/docs/a.md", f, false},
        {"/src/*/gen/", "src/m/gen", F, true},
        {"/src/*/gen/", "src/m/gen", f, false},
        {"odd/\xff?", "odd/\xff\x01", f, true},
        // "**" as a whole part: any number of folders; at the end, what is inside.
        {"a/**/b", "a/b", f, true},
        {"a/**/b", "a/x/b", f, true},
        {"a/**/b", "a/x/y/b", f, true},
        {"a/**/b", "x/a/b", f, false},
        {"a/**/b/**/c", "a/b/x/b/y/c", f, true},
        {"**/node_modules", "x/y/node_modules", F, true},
        {"**/cache/*.bin", "p/q/cache/x.bin", f, true},
        {"**/cache/*.bin", "cache/sub/x.bin", f, false},
        {"a/**", "a", F, false},
        {"a/**", "a/x/y", f, true},
        {"/**", "x", f, true},
        // Entries below a folder left out are never asked about.
        {"a/b", "a/b/c", f, false},
    };
    for (const MatchRow& row : rows) {
        const ExcludeRules rules = ExcludeRules::compile({row.pattern});
        EXPECT_EQ(rules.excludes(row.path, row.path.substr(row.path.rfind('/') + 1), row.isFolder),
                  row.excluded)
            << "pattern \"" << row.pattern << "\", " << (row.isFolder ? "folder" : "file") << " \""
            << row.path << "\"";
    }
}

TEST(ExcludeRulesTest, LinesThatAreNotPatternsAreRefusedWithTheirReason) {
    const std::vector<std::pair<std::string, ExcludePatternFault>> rows = {
        {"[abc", ExcludePatternFault::unclosedClass},
        {"a/[b/c]", ExcludePatternFault::unclosedClass},
        {"[z-a]", ExcludePatternFault::reversedRange},
        {"[[:digit:]]", ExcludePatternFault::namedClass},
        {"abc\\", ExcludePatternFault::trailingBackslash},
        {"a\\/b", ExcludePatternFault::escapedSlash},
        {"/", ExcludePatternFault::emptyPart},
        {"a//b", ExcludePatternFault::emptyPart},
        {"./a", ExcludePatternFault::dotPart},
        {"a/../b", ExcludePatternFault::dotPart},
        {"a**", ExcludePatternFault::partialGlobstar},
        {"!keep.tmp", ExcludePatternFault::negation},
        {std::string("a\0b", 3), ExcludePatternFault::nulByte},
        {"*.tmp ", ExcludePatternFault::outerSpace},
        {"\tbuild/", ExcludePatternFault::outerSpace},
    };
    for (const auto& [line, fault] : rows) {
        const auto errors = ExcludeRules::validate({"# first", "*.tmp", line});
        ASSERT_EQ(errors.size(), 1U) << line;
        EXPECT_EQ(errors[0].lineNumber, 3U) << line;
        EXPECT_EQ(errors[0].line, line);
        EXPECT_EQ(errors[0].fault, fault) << line;
        // Every fault has its text in the tables (a missing key would show as the key).
        EXPECT_FALSE(errors[0].reason().startsWith("exclude_rule_")) << line;
    }
    try {
        ExcludeRules::compile({"[a", "ok", "b\\"});
        ADD_FAILURE() << "compiled";
    } catch (const ExcludeRulesError& error) {
        ASSERT_EQ(error.errors().size(), 2U);
        EXPECT_EQ(error.errors()[1].lineNumber, 3U);
    }
}

// Lines go through the settings file unchanged, comments, blank lines and bytes that are not
// UTF-8 included; an empty list removes the key.
TEST(ExcludeRuleStoreTest, StoredLinesReadBackUnchanged) {
    const ScopedConfigHome home;
    EXPECT_TRUE(ExcludeRuleStore::load().empty());
    for (const std::vector<std::string>& lines : std::vector<std::vector<std::string>>{
             {"*.tmp", "# build output", "", "node_modules/", "a, \"b\"", "@x", "caf\xe9*"},
             {"\xff"}}) {
        ASSERT_TRUE(ExcludeRuleStore::save(lines));
        EXPECT_EQ(ExcludeRuleStore::load(), lines);
    }
    ASSERT_TRUE(ExcludeRuleStore::save({}));
    EXPECT_TRUE(ExcludeRuleStore::load().empty());
    EXPECT_FALSE(text::openAppSettings()->contains(ExcludeRuleStore::kStorageKey));
}

}  // namespace
}  // namespace sorrelix::engine
