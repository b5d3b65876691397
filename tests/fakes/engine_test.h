// The fixture of the unit tests that run the whole engine over the fakes.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"

// A profile past its first start; the engine starts when the test says, with
// a frame of its own.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { fake.profile.Set("Settings", "First Start", 0u); }
    // Whatever the test did, the engine left no hold or batch of the profile
    // open.
    void TearDown() override {
        EXPECT_EQ(fake.profile.holds, 0);
        EXPECT_EQ(fake.profile.batches, 0);
    }
    CAppKernel& Start() {
        frame = fake.desktop.Add("TarnvellFrame", "Tarnvell", false);
        kernel = StartKernel(fake, frame);
        return *kernel;
    }
    bool Visible(WindowHandle w) { return fake.desktop.Get(w).visible; }

    FakePlatform fake;
    WindowHandle frame;
    std::unique_ptr<CAppKernel> kernel;
};
