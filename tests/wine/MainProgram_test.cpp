// The program itself: orvexpv.exe starts, shows its main window and ends
// when the window is closed; what its start sets up on its thread.
#include <gtest/gtest.h>

#include <string>

#include "app/Main.h"
#include "app/Splash.h"
#include "app/Startup.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/TestMode.h"

namespace {

TEST(MainProgram, StartsShowsItsMainWindowAndEndsWhenItCloses) {
    std::string exe = orvex::test::ExeDir() + "..\\..\\app\\orvexpv.exe";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << GetLastError();
    orvex::THandle process(pi.hProcess), thread(pi.hThread);
    const HWND main = orvex::test::AwaitVisibleWindow(pi.dwProcessId, orvex::app::MainClassName);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(orvex::test::WindowText(main), "Orvex Process Viewer");
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, orvex::app::MainClientWidth);
    EXPECT_EQ(client.bottom, orvex::app::MainClientHeight);
    const HWND splash = orvex::test::WindowOfProcess(pi.dwProcessId, orvex::app::SplashClassName);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(orvex::test::WindowText(splash), "Orvex Process Viewer");
    EXPECT_FALSE(IsWindowVisible(splash));  // hidden once the first refresh ended
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.get(), 15000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);
}

// COM as a thread sees it while the program's start-up object lives and
// after it has gone, on a thread of its own (the test's threads may have
// entered COM already).
struct TApartmentProbe {
    HRESULT MultiThreadedWhileStarted = E_UNEXPECTED;
    HRESULT ApartmentWhileStarted = E_UNEXPECTED;
    HRESULT MultiThreadedAfterwards = E_UNEXPECTED;
};

HRESULT EnterAndLeave(DWORD model) {
    const HRESULT hr = CoInitializeEx(nullptr, model);
    if (SUCCEEDED(hr)) CoUninitialize();
    return hr;
}

DWORD WINAPI ProbeApartment(void* param) {
    auto& probe = *static_cast<TApartmentProbe*>(param);
    {
        const orvex::app::TProgramStart start;
        probe.MultiThreadedWhileStarted = EnterAndLeave(COINIT_MULTITHREADED);
        probe.ApartmentWhileStarted = EnterAndLeave(COINIT_APARTMENTTHREADED);
    }
    probe.MultiThreadedAfterwards = EnterAndLeave(COINIT_MULTITHREADED);
    return 0;
}

TEST(MainProgram, StartUpHoldsASingleThreadedApartmentUntilItEnds) {
    TApartmentProbe probe;
    const orvex::THandle thread(CreateThread(nullptr, 0, ProbeApartment, &probe, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_EQ(WaitForSingleObject(thread.get(), 30000), WAIT_OBJECT_0);
    // The thread is in a single-threaded apartment: another model is refused,
    // the same one only counted.
    EXPECT_EQ(probe.MultiThreadedWhileStarted, RPC_E_CHANGED_MODE);
    EXPECT_EQ(probe.ApartmentWhileStarted, S_FALSE);
    // Left again: the thread may now choose any model.
    EXPECT_EQ(probe.MultiThreadedAfterwards, S_OK);
}

}  // namespace
