// Tallow.exe as the calling programs start it: in automatic mode, with the exit status and the
// files left on disk. It works in the Documents folder of the wine prefix the tests run in.
#include <windows.h>

#include <gtest/gtest.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>

#include "storage/ProcessLock.h"

#include "tests/support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

fs::path Documents() {
    PWSTR folder = nullptr;
    SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder);
    fs::path documents = folder;
    CoTaskMemFree(folder);
    return documents;
}

// The build gives the program's Unix path; wine reaches it through drive Z.
fs::path Program() {
    fs::path program = fs::path(L"Z:") / TALLOW_PROGRAM;
    return program.make_preferred();
}

class ProgramProcessTest : public testing::Test {
  protected:
    ProgramProcessTest() {
        fs::remove_all(kit);
        fs::create_directories(kit / "AutoFile");
        fs::create_directories(kit / "temp");
        // Automatic mode on, messages off: nothing waits for a click.
        WriteFileBytes(kit / "temp" / "Radix2A.tmp", "1\r\n0");
    }
    ~ProgramProcessTest() override { fs::remove_all(kit.parent_path()); }

    // Through the command interpreter, which passes the program's exit status on.
    int Run() const { return _wsystem(Program().c_str()); }

    const fs::path kit = Documents() / "Merrow" / "TallowKit";
    const fs::path input = kit / "AutoFile" / "Radix10Kan.tbin";
    const fs::path result = kit / "Result" / "Radix2Result.tbin";
};

// The logic's outcomes are tested natively; here the exe must pass them on as its exit status.
TEST_F(ProgramProcessTest, ConvertsTheInputDeletesItAndReportsWhatIsMissing) {
    WriteFileBytes(input, "\xFF\xFE" + std::string("5\0\r\0\n\0"
                                                   "2\0",
                                                   8));
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(ReadFileBytes(result), "101\r\n10\r\n");
    EXPECT_FALSE(fs::exists(input));
    EXPECT_EQ(ReadFileBytes(kit / "temp" / "Radix2A.tmp"), "1\r\n0") << "settings untouched";
    EXPECT_EQ(Run(), 2) << "the input is gone";
    WriteFileBytes(input, "1\r\n2147483648\r\n");
    EXPECT_EQ(Run(), 5);
    EXPECT_TRUE(fs::exists(input));
}

// Killed while it writes its result, the exe leaves the old result whole and no temporary file:
// the file it writes is marked for deletion until it is complete.
TEST_F(ProgramProcessTest, AKilledRunLeavesNothingBehind) {
    fs::create_directories(result.parent_path());
    WriteFileBytes(result, "old");
    std::string numbers;
    for (int i = 0; i < 2000000; ++i) {
        numbers += "2147483647\r\n";
    }
    WriteFileBytes(input, numbers);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + Program().wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    // The write is under way once a second file in the Result folder has bytes: it is marked for
    // deletion just after it is made, before its first byte.
    bool writing = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!writing && std::chrono::steady_clock::now() < deadline) {
        std::error_code error;
        for (fs::directory_iterator it(result.parent_path(), error), end; !error && it != end;
             it.increment(error)) {
            writing = writing || (it->path() != result && it->file_size(error) > 0);
        }
    }
    TerminateProcess(process.hProcess, 9);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_TRUE(writing);
    EXPECT_EQ(ReadFileBytes(result), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(result.parent_path()), {}), 1);
}

// A second run waits while the first holds the run's lock, then finds the input gone.
TEST_F(ProgramProcessTest, ASecondRunWaitsForTheFirst) {
    WriteFileBytes(input, "5");
    auto first = std::make_unique<ProcessLock>(kit / "temp" / "AutoRun.lock");
    ASSERT_TRUE(first->Held());
    auto second = std::async(std::launch::async, [this] { return Run(); });
    EXPECT_EQ(second.wait_for(std::chrono::seconds(2)), std::future_status::timeout);
    fs::remove(input);
    first.reset();
    EXPECT_EQ(second.get(), 2);
}

}  // namespace
