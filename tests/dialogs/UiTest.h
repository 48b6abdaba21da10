// The window fixture of the tests of the views, dialogs and facade: it skips when no window
// system can be opened and records message boxes.
#pragma once

#include "GridDataSet.h"
#include "win/CWinTestDriver.h"
#include "win/MessageBoxRecorder.h"

#include <gtest/gtest.h>

// Windows need the application object; message boxes are recorded instead of shown.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CWinTestDriver::EnsureApplication())
            GTEST_SKIP() << "no window system (Qt's offscreen platform is missing)";
    }
    CMessageBoxRecorder messages;
};
