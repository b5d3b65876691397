// The fixture of the end-to-end tests that start Tarnvell over a profile of
// their own.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"

namespace e2e {

// The profile is empty but for its first start, already made (so that no
// Run value is written), and deleted again afterwards with any Run value a
// test had Tarnvell write.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        TearDown();
        ASSERT_TRUE(SetDword("Settings", "First Start", 0));
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
        DeleteRunValue();
    }
    // Slot n: a group named name; the values given are written, the others
    // left absent as an earlier version left them; the list ends after it.
    static void Group(int n, const std::string& name, const std::string& search, const std::string& program = {},
                      const std::string& cls = {}, DWORD flags = 0) {
        const std::string i = std::to_string(n);
        ASSERT_TRUE(SetString("Groups", ("Name" + i).c_str(), name));
        ASSERT_TRUE(SetString("Groups", ("Search" + i).c_str(), search));
        ASSERT_TRUE(SetDword("Groups", ("Compare" + i).c_str(), 0));
        if (!program.empty()) {
            ASSERT_TRUE(SetString("Groups", ("Program" + i).c_str(), program));
        }
        if (!cls.empty()) {
            ASSERT_TRUE(SetString("Groups", ("Class" + i).c_str(), cls));
        }
        if (flags) {
            ASSERT_TRUE(SetDword("Groups", ("AutoHide" + i).c_str(), flags));
        }
        ASSERT_TRUE(SetDword("Groups", ("Compare" + std::to_string(n + 1)).c_str(), 0xFFFFFFFF));
    }
};

}  // namespace e2e
