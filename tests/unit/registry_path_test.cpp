#include "platform/registry_path.h"

#include <gtest/gtest.h>

#include <string>

namespace pigmora {
namespace {

TEST(SplitRegistryPathTest, SplitsAtTheLastStandaloneBackslash) {
    struct Case {
        const char* name;
        std::string path;
        std::string key;
        std::string valueName;
    };
    const Case cases[] = {
        {"saved colour", "SOFTWARE\\Quov\\Tallowin\\ColorSave1", "SOFTWARE\\Quov\\Tallowin",
         "ColorSave1"},
        {"no backslash", "ColorSave1", "", "ColorSave1"},
        {"empty", "", "", ""},
        {"leading backslash", "\\Value", "", "Value"},
        {"trailing backslash", "SOFTWARE\\Quov\\", "SOFTWARE\\Quov", ""},
        // 0x95 0x5C is one GBK character; its second byte is no separator.
        {"GBK trail byte 0x5C at the end", "SOFTWARE\\\x95\x5C", "SOFTWARE", "\x95\x5C"},
        {"GBK trail byte 0x5C inside",
         "A\\\x95\x5C"
         "B",
         "A",
         "\x95\x5C"
         "B"},
        {"GBK character in the key", "\x95\x5C\\Name", "\x95\x5C", "Name"},
        {"only a GBK character", "\x95\x5C", "", "\x95\x5C"},
        {"lone trailing lead byte", "Key\\Name\x95", "Key", "Name\x95"},
    };
    for (const Case& c : cases) {
        const RegistryPath split = SplitRegistryPath(c.path);
        EXPECT_EQ(split.key, c.key) << c.name;
        EXPECT_EQ(split.valueName, c.valueName) << c.name;
    }
}

}  // namespace
}  // namespace pigmora
