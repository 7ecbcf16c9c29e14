// Test support for the model: every process-wide global back to its start value, and a fixture
// that starts and ends each case from that state.
#pragma once

#include "model/model_globals.h"
#include "view/view_globals.h"

#include <gtest/gtest.h>

inline void ResetAllGlobals() {
    HxResetModelGlobals();
    HxResetViewGlobals();
}

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAllGlobals(); }
    void TearDown() override { ResetAllGlobals(); }
};
