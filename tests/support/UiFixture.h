#pragma once
// A test fixture for user-interface tests: a clean message queue, no modal
// steps left over, no beeps counted, a fixed desktop size.

#include <framework/forms/Application.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Windows.h>
#include <gtest/gtest.h>

namespace fw::test {

class UiFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Reset();
        Application->OnException = nullptr;
        ResetBeeps();
        SetCaretBlinkTime(0);
        Screen->SetSize(1024, 768);
    }
    void TearDown() override {
        EXPECT_EQ(Application->PendingModalSteps(), 0) << "a scripted step was never used";
        Application->Reset();
    }
};

} // namespace fw::test
