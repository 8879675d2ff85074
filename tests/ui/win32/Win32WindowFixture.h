#pragma once

// The real Win32 window, created from the program's own resource, with the real toolkit.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <thread>

#include "jobs/TallowDlg.h"
#include "tests/support/ScratchFolder.h"
#include "ui/win32/WideText.h"
#include "ui/win32/Win32Toolkit.h"
#include "ui/win32/Win32Window.h"

// The keyboard state with only the keys in held down, as the window reads Shift and Ctrl from it.
inline void HoldKeys(std::initializer_list<WORD> held) {
    BYTE state[256] = {};
    for (const WORD down : held) {
        state[down] = 0x80;
    }
    SetKeyboardState(state);
}

// A modal box open now other than the main window, or null.
inline HWND OpenBox(HWND mainWindow) {
    HWND box = FindWindowExW(nullptr, nullptr, L"#32770", nullptr);
    while (box == mainWindow && box != nullptr) {
        box = FindWindowExW(nullptr, box, L"#32770", nullptr);
    }
    return box;
}

// Runs act, closing with command, and counting, each modal box it opens meanwhile, so that none
// can hang the test.
inline int BoxesClosedWhile(HWND mainWindow, WPARAM command, const std::function<void()>& act) {
    std::atomic<bool> done = false;
    std::atomic<int> closed = 0;
    std::thread closer([&] {
        for (int tries = 0; tries < 40 && !done; ++tries) {
            Sleep(25);
        }
        for (int tries = 0; tries < 20; ++tries) {
            if (HWND box = OpenBox(mainWindow); box != nullptr) {
                ++closed;
                PostMessageW(box, WM_COMMAND, command, 0);
            }
            Sleep(25);
        }
    });
    act();
    done = true;
    closer.join();
    return closed;
}

// The real toolkit, with Documents in a scratch folder, the save dialog answered and no message
// box: an unexpected modal box would otherwise hang the test.
class TestToolkit : public Win32Toolkit {
  public:
    TestToolkit(Win32Window& window, std::filesystem::path documents)
        : Win32Toolkit(window), m_documents(std::move(documents)) {}
    std::filesystem::path DocumentsFolder() override { return m_documents; }
    std::optional<std::filesystem::path> AskSavePath(const SaveDialogOptions&) override {
        return savePath;
    }
    void ShowMessage(std::u16string_view, MessageIcon) override {}

    std::filesystem::path savePath;

  private:
    std::filesystem::path m_documents;
};

class Win32WindowTest : public testing::Test {
  protected:
    Win32WindowTest() : Win32WindowTest(true) {}
    // Without start, the test starts the window itself.
    explicit Win32WindowTest(bool start) {
        if (start) {
            EXPECT_TRUE(window.Start(dialog));
        }
    }

    HWND Item(ControlId id) const { return window.Control(static_cast<int>(id)); }
    std::u16string Text(HWND control) const {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return FromWide(text);
    }
    void Click(ControlId id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    bool PumpAll() {
        return PumpUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
    }
    // Runs the window's messages, through its own filter, until done() holds.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                window.ProcessMessage(message);
            }
            Sleep(1);
        }
        return true;
    }
    ScratchFolder folder;
    Win32Window window{GetModuleHandleW(nullptr)};
    TestToolkit toolkit{window, folder.path()};
    CTallowDlg dialog{toolkit};
};
