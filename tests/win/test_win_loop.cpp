// The message loop of a host: it ends when the user has closed the last shown window, not
// before, and AfxPostQuitMessage ends it with its code.
#include "WinFixture.h"
#include "resource.h"

namespace {

// Ends a loop that would otherwise never return, so that a fault fails instead of hanging.
constexpr int kGaveUp = 99;
constexpr UINT_PTR kGuardTimer = 0x6A11;

void giveUp(HWND, UINT, UINT_PTR, DWORD) {
    AfxPostQuitMessage(kGaveUp);
}

class MessageLoop : public WinFixture {
protected:
    void SetUp() override {
        WinFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        for (CRecordingDialog* d : {&first, &second, &guard}) {
            ASSERT_TRUE(d->Create(IDD_SPCTM_STDSET));
        }
        first.ShowWindow(SW_SHOW);
        second.ShowWindow(SW_SHOW);
        CWinTestDriver::ProcessEvents();
    }
    // A hidden window's timer stops the loop after `ms` with kGaveUp.
    void guardFor(UINT ms) { guard.SetTimer(kGuardTimer, ms, giveUp); }

    CRecordingDialog first, second, guard;
};

TEST_F(MessageLoop, EndsWhenTheUserClosesTheLastShownWindow) {
    first.PostMessage(WM_CLOSE);
    second.PostMessage(WM_CLOSE);
    guardFor(5000);
    EXPECT_EQ(AfxRunMessageLoop(), 0);
    EXPECT_FALSE(first.IsWindowVisible());
    EXPECT_FALSE(second.IsWindowVisible());
}

TEST_F(MessageLoop, RunsOnWhileOneWindowIsShownAndQuitsWithItsCode) {
    first.PostMessage(WM_CLOSE);
    // Quits with its own code once the first window has gone and the second still shows.
    second.SetTimer(kGuardTimer, 200, [](HWND, UINT, UINT_PTR, DWORD) { AfxPostQuitMessage(7); });
    guardFor(5000);
    EXPECT_EQ(AfxRunMessageLoop(), 7);
    EXPECT_FALSE(first.IsWindowVisible());
    EXPECT_TRUE(second.IsWindowVisible());
    // A window hidden and shown again within one turn of the loop does not end it.
    second.ShowWindow(SW_HIDE);
    second.ShowWindow(SW_SHOW);
    second.SetTimer(kGuardTimer, 200, [](HWND, UINT, UINT_PTR, DWORD) { AfxPostQuitMessage(8); });
    EXPECT_EQ(AfxRunMessageLoop(), 8);
}

TEST_F(MessageLoop, ReturnsAtOnceWithNothingShown) {
    first.ShowWindow(SW_HIDE);
    second.DestroyWindow();
    guardFor(5000);
    EXPECT_EQ(AfxRunMessageLoop(), 0);
}

} // namespace
