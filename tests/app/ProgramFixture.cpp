#include "tests/app/ProgramFixture.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <vector>

namespace fs = std::filesystem;

ProgramTest::ProgramTest() {
    fs::create_directories(AutoFile());
    fs::create_directory(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all);
}

ProgramTest::Finished ProgramTest::RunProgram(std::optional<long> fileSizeLimit) const {
    const std::string stderrPath = (home / "stderr.txt").string();
    std::vector<std::string> environment = {"HOME=" + home.path().string(),
                                            "XDG_RUNTIME_DIR=" + (home / "runtime").string(),
                                            "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    char program[] = TALLOW_PROGRAM;
    char* argv[] = {program, nullptr};

    const pid_t pid = fork();
    if (pid == 0) {
        const int error = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(error, 2);
        if (fileSizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(*fileSizeLimit),
                               static_cast<rlim_t>(*fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execve(program, argv, envp.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(stderrPath)};
}
