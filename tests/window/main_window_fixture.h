#pragma once
// A real main window in this process, over fake platform services.

#include <gtest/gtest.h>

#include <memory>

#include "tests/fakes/fake_platform.h"
#include "tests/window/window_test_support.h"
#include "ui/main/main_window.h"

namespace lumarel::testing {

class MainWindowTest : public ::testing::Test {
protected:
    // Creates the window; a test may prepare the fakes first and call it again.
    void Open() {
        window.reset();
        window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr), fake.Services(), shared,
                                              L"C:\\ROMS");
        ASSERT_TRUE(window->Create());
        DrainMessages();
    }

    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        fake.fileSystem.directories[L"C:\\ROMS"] = {{L"b.smc"}, {L"a.sfc"}, {L"readme.txt"}};
        Open();
    }
    void TearDown() override {
        window.reset();
        DrainMessages();
    }
    HWND Control(int id) { return window->Control(id); }
    void Click(int id) {
        SendMessageW(Control(id), BM_CLICK, 0, 0);
        DrainMessages();
    }
    bool IsChecked(int id) { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    FakePlatform fake;
    SharedValues shared;
    std::unique_ptr<MainWindow> window;
};

}  // namespace lumarel::testing
