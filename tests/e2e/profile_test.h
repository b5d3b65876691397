// The fixture of the end-to-end tests that start Tarnvell over a profile of
// their own.
#pragma once
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace e2e {

// The profile is empty but for its first start, already made (so that no
// Run value is written), and deleted again afterwards.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        TearDown();
        ASSERT_TRUE(SetDword("Settings", "First Start", 0));
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey); }
};

}  // namespace e2e
