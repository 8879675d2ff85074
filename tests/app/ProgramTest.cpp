// The program as another program starts it: with a home folder of its own whose Documents holds
// an armed AutoFile folder, and no display unless a test names one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <set>
#include <thread>

#include "storage/ProcessLock.h"

#include "tests/support/ScratchFolder.h"
#include "tests/support/TestBytes.h"

namespace fs = std::filesystem;

namespace {

class ProgramTest : public ::testing::Test {
  protected:
    ProgramTest() {
        fs::create_directories(input.parent_path());
        fs::permissions(home.path(), fs::perms::owner_all);  // as Qt wants its runtime folder
    }

    struct Finished {
        int status;
        std::string stderrText;
    };
    // The words are put into a shell command line as they are. A file size limit, in blocks of
    // 512 bytes, makes every write beyond it fail as on a full disk, whoever runs the test.
    // With unreadStderr, standard error is a pipe whose reading end is closed, and stays unread.
    Finished Run(const std::string& environment = "", const std::string& arguments = "",
                 const std::string& fileSizeLimit = "unlimited") const {
        const std::string command =
            "env -i HOME=" + home.path().string() + " XDG_RUNTIME_DIR=" + home.path().string() +
            " PATH=/usr/bin:/bin " + environment + " timeout 60 sh -c 'trap \"\" XFSZ; ulimit -f " +
            fileSizeLimit + "; exec \"$0\" \"$@\"' " + program + " " + arguments +
            (unreadStderr ? "" : " 2>" + (home / "stderr").string());
        int pipeEnds[2];
        if (!unreadStderr || pipe(pipeEnds) != 0) {
            const int status = std::system(command.c_str());
            return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(home / "stderr")};
        }
        close(pipeEnds[0]);
        const pid_t shell = fork();
        if (shell == 0) {
            dup2(pipeEnds[1], STDERR_FILENO);
            execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
            _exit(127);
        }
        close(pipeEnds[1]);
        int status = 0;
        waitpid(shell, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ""};
    }

    std::string program = TALLOW_PROGRAM;
    bool unreadStderr = false;

    ScratchFolder home;
    const fs::path kit = home / "Documents" / "Merrow" / "TallowKit";
    const fs::path input = kit / "AutoFile" / "Radix10Kan.tbin";
    const fs::path result = kit / "Result" / "Radix2Result.tbin";
};

// What each input leads to is the dialog's, and tested there; the program passes the outcome on
// as its exit status, with a line for the caller's log. A display that is named but gone (an ssh
// or cron session) is no display at all, and the command line, Qt's options included, is never
// read.
TEST_F(ProgramTest, PassesTheOutcomeOnAsItsExitStatusWithOrWithoutADisplay) {
    WriteFileBytes(input, "5");
    const Finished converted = Run();
    EXPECT_EQ(converted.status, 0);
    EXPECT_EQ(converted.stderrText,
              "Tallow: automatic run: converted Radix10Kan.tbin into Result/Radix2Result.tbin\n");
    EXPECT_EQ(ReadFileBytes(result), "101\r\n");
    EXPECT_FALSE(fs::exists(input));
    WriteFileBytes(input, "1\r\n2147483648\r\n");
    const Finished refused = Run("DISPLAY=:4711 XDG_RUNTIME_DIR=",
                                 "-platform nonexistent -display :4711 -reverse -style none");
    EXPECT_EQ(refused.status, 5);
    EXPECT_EQ(refused.stderrText,
              "Tallow: automatic run: AutoFile/Radix10Kan.tbin holds a number above 2147483647\n");
    fs::remove_all(input.parent_path());
    for (const char* display : {"", "DISPLAY=:4711"}) {
        const Finished interactive = Run(display);
        EXPECT_EQ(interactive.status, 1);
        EXPECT_TRUE(interactive.stderrText.ends_with(
            "Tallow: no display could be opened to show the window on.\n"))
            << interactive.stderrText;
    }
}

// Inputs a caller can leave, with the status each gives: only an input that is not there is
// missing; one that cannot be looked at cannot be read. Nothing at either name that is not a file
// holds the run up (a FIFO would wait for ever for a writer), and what no writer holds any more
// goes whatever the outcome.
TEST_F(ProgramTest, RefusesWhatIsNoInputWithoutWaitingAndSweepsEveryTime) {
    const struct {
        const char* what;
        std::function<void()> make;
        int status;
    } cases[] = {
        {"no input", [] {}, 2},
        {"a folder", [&] { fs::create_directory(input); }, 2},
        {"an empty input", [&] { WriteFileBytes(input, ""); }, 3},
        {"a link to itself", [&] { fs::create_symlink(input.filename(), input); }, 6},
        {"a name too long", [&] { fs::create_symlink(std::string(300, 'x'), input); }, 6},
        {"a FIFO", [&] { mkfifo(input.c_str(), 0600); }, 6},
        {"a FIFO for a result",
         [&] {
             WriteFileBytes(input, "5");
             mkfifo(result.c_str(), 0600);
         },
         7},
    };
    fs::create_directories(result.parent_path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(input);
        fs::remove(result);
        c.make();
        const fs::path leftover = LeaveAbandonedTemporary(result.parent_path());
        EXPECT_EQ(Run().status, c.status);
        std::error_code error;
        EXPECT_FALSE(fs::is_regular_file(result, error));
        EXPECT_EQ(fs::is_regular_file(input, error), c.status == 3 || c.status == 7);
        EXPECT_FALSE(fs::exists(leftover));
    }
}

// A caller that stopped reading standard error still learns what the run did, from the program
// and from the command that starts it.
TEST_F(ProgramTest, GivesItsStatusToACallerThatNoLongerReadsStandardError) {
    unreadStderr = true;
    for (const char* command : {TALLOW_PROGRAM, TALLOW_LAUNCHER}) {
        program = command;
        for (const auto& [job, status] : {std::pair{"5", 0}, {"", 2}, {"x", 4}}) {
            SCOPED_TRACE(testing::Message() << command << ", status " << status);
            fs::remove(input);
            if (status != 2) {
                WriteFileBytes(input, job);
            }
            EXPECT_EQ(Run().status, status);
        }
    }
    EXPECT_EQ(ReadFileBytes(result), "101\r\n");
}

// The Documents folder the user's settings name is found whatever bytes its name holds.
TEST_F(ProgramTest, FindsADocumentsFolderWhoseNameIsNotUtf8) {
    const fs::path documents = home / "Dokumente\xFF";
    fs::create_directories(home / ".config");
    WriteFileBytes(home / ".config" / "user-dirs.dirs",
                   "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\xFF\"\n");
    fs::create_directories(documents / "Merrow" / "TallowKit" / "AutoFile");
    WriteFileBytes(documents / "Merrow" / "TallowKit" / "AutoFile" / "Radix10Kan.tbin", "6");
    EXPECT_EQ(Run().status, 0);
    EXPECT_EQ(ReadFileBytes(documents / "Merrow" / "TallowKit" / "Result" / "Radix2Result.tbin"),
              "110\r\n");
}

// A second run waits while the first holds the run's lock, then finds the input as the first
// left it: gone.
TEST_F(ProgramTest, ASecondRunWaitsForTheFirst) {
    WriteFileBytes(input, "5");
    fs::create_directories(kit / "temp");
    auto first = std::make_unique<ProcessLock>(kit / "temp" / "AutoRun.lock");
    ASSERT_TRUE(first->Held());
    auto second = std::async(std::launch::async, [this] { return Run().status; });
    EXPECT_EQ(second.wait_for(std::chrono::milliseconds(500)), std::future_status::timeout);
    EXPECT_TRUE(fs::exists(input));
    fs::remove(input);
    first.reset();
    EXPECT_EQ(second.get(), 2);
    EXPECT_FALSE(fs::exists(result));
}

// The files are done and the status decided before any display is connected to; one that does
// not answer (its server stopped) holds up the end of the run only a few seconds.
TEST_F(ProgramTest, NeverWaitsLongForADisplayThatDoesNotAnswer) {
    const std::string display = std::to_string(600 + getpid() % 300);
    const pid_t server = fork();
    if (server == 0) {
        execlp("Xvfb", "Xvfb", (":" + display).c_str(), "-nolisten", "tcp", nullptr);
        _exit(127);
    }
    for (int tries = 0; tries < 100 && !fs::exists("/tmp/.X11-unix/X" + display); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(server, SIGSTOP);
    fs::create_directories(kit / "temp");
    WriteFileBytes(kit / "temp" / "Radix2A.tmp", "1\r\n1");
    WriteFileBytes(input, "5");
    const auto start = std::chrono::steady_clock::now();
    const Finished run = Run("DISPLAY=:" + display);
    const auto took = std::chrono::steady_clock::now() - start;
    kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
    EXPECT_EQ(run.status, 0);
    EXPECT_LT(took, std::chrono::seconds(15));
    EXPECT_EQ(ReadFileBytes(result), "101\r\n");
    EXPECT_FALSE(fs::exists(input));
    EXPECT_EQ(std::count(run.stderrText.begin(), run.stderrText.end(), '\n'), 1) << run.stderrText;
}

// Killed while it writes its result, a run leaves the old result whole and no temporary file.
// Where files without a name are refused, the named one goes with a SIGTERM, the run still dying
// of it; one left by a SIGKILL goes with the next run.
TEST_F(ProgramTest, AKilledRunLeavesNothingBehind) {
    fs::create_directories(result.parent_path());
    WriteFileBytes(result, "old");
    for (const bool named : {false, true}) {
        for (const int signal : {SIGKILL, SIGTERM}) {
            SCOPED_TRACE(testing::Message() << (named ? "named, " : "") << "signal " << signal);
            WriteFileBytes(input, CountingList(3000000));
            // What a killed run left is opened by the next run's sweep, before it writes.
            std::set<fs::path> before;
            for (const auto& entry : fs::directory_iterator(result.parent_path())) {
                before.insert(entry.path().filename());
            }
            const pid_t run = fork();
            if (run == 0) {
                setenv("HOME", home.path().c_str(), 1);
                for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_CONFIG_HOME"}) {
                    unsetenv(name);
                }
                if (named) {
                    setenv("LD_PRELOAD", TALLOW_REFUSE_UNNAMED_FILES, 1);
                    setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
                }
                execl(TALLOW_PROGRAM, TALLOW_PROGRAM, nullptr);
                _exit(127);
            }
            // The write is under way once the run holds a new file in the Result folder.
            bool writing = false;
            const fs::path descriptors = "/proc/" + std::to_string(run) + "/fd";
            for (int tries = 0; !writing && tries < 50000; ++tries) {
                std::error_code error;
                for (fs::directory_iterator it(descriptors, error), end; !error && it != end;
                     it.increment(error)) {
                    const fs::path held = fs::read_symlink(it->path(), error);
                    writing = writing || (held.parent_path() == result.parent_path() &&
                                          !before.contains(held.filename()));
                }
            }
            kill(run, signal);
            int status = 0;
            for (int waited = 0; waitpid(run, &status, WNOHANG) == 0; ++waited) {
                if (waited == 1000) {
                    ADD_FAILURE() << "the run outlived its signal";
                    kill(run, SIGKILL);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            EXPECT_TRUE(writing);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
            EXPECT_EQ(ReadFileBytes(result), "old");
            const auto entries = std::distance(fs::directory_iterator(result.parent_path()), {});
            EXPECT_EQ(entries, named && signal == SIGKILL ? 2 : 1);
        }
    }
    WriteFileBytes(input, "5");
    EXPECT_EQ(
        Run("LD_PRELOAD=" TALLOW_REFUSE_UNNAMED_FILES " ASAN_OPTIONS=verify_asan_link_order=0")
            .status,
        0);
    EXPECT_EQ(std::distance(fs::directory_iterator(result.parent_path()), {}), 1);
    // A SIGTERM the moment the named file is made finds it already known.
    WriteFileBytes(input, "5");
    EXPECT_EQ(Run("LD_PRELOAD=" TALLOW_REFUSE_UNNAMED_FILES
                  " TALLOW_TERM_ON_CREATE=1 ASAN_OPTIONS=verify_asan_link_order=0")
                  .status,
              128 + SIGTERM);
    EXPECT_EQ(std::distance(fs::directory_iterator(result.parent_path()), {}), 1);
}

// Each write gives back its place among the names a signal removes, even one that ends after a
// later write began.
TEST(NamedTemporaryFiles, ASignalRemovesEachOneStillBeingWritten) {
    ScratchFolder folder;
    const std::string command = "LD_PRELOAD=" TALLOW_REFUSE_UNNAMED_FILES
                                " ASAN_OPTIONS=verify_asan_link_order=0 " TALLOW_INTERLEAVED_WRITES
                                " " +
                                folder.path().string();
    std::system(command.c_str());
    EXPECT_EQ(ReadFileBytes(folder / "first"), "1");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
}

// The old result stays whole, no temporary file is left and the input is kept. Every way a write
// fails ends in the same failed commit, which the file helpers' tests make in each way.
TEST_F(ProgramTest, KeepsTheInputWhenTheResultCannotBeWritten) {
    fs::create_directories(result.parent_path());
    WriteFileBytes(result, "old");
    WriteFileBytes(input, CountingList(200));
    EXPECT_EQ(Run("", "", "1").status, 7);
    EXPECT_EQ(ReadFileBytes(input), CountingList(200));
    EXPECT_EQ(ReadFileBytes(result), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(result.parent_path()), {}), 1);
}

// Immutable where the file system allows it, which holds even for root; else, for anyone but
// root, in a folder without write permission.
TEST_F(ProgramTest, AnInputThatCannotBeDeletedIsReportedAfterTheResultIsWritten) {
    WriteFileBytes(input, "6\r\n");
    const auto chattr = [&](const std::string& flag) {
        const std::string command = "chattr " + flag + " '" + input.string() + "' 2>/dev/null";
        return std::system(command.c_str()) == 0;
    };
    const bool immutable = chattr("+i");
    if (!immutable && geteuid() == 0) {
        GTEST_SKIP() << "root on a file system without the immutable attribute";
    }
    if (!immutable) {
        fs::permissions(input.parent_path(), fs::perms::owner_write, fs::perm_options::remove);
    }
    const int status = Run().status;
    if (immutable) {
        chattr("-i");
    }
    fs::permissions(input.parent_path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(status, 8);
    EXPECT_EQ(ReadFileBytes(result), "110\r\n");
    EXPECT_EQ(ReadFileBytes(input), "6\r\n");
}

}  // namespace
