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

ProgramTest::Finished ProgramTest::RunProgram() const {
    return RunProgram(Launch{});
}

ProgramTest::Finished ProgramTest::RunProgram(const Launch& launch) const {
    const std::string stderrPath = (home / "stderr.txt").string();
    std::vector<std::string> environment = {"HOME=" + home.path().string(),
                                            "XDG_RUNTIME_DIR=" + (home / "runtime").string(),
                                            "PATH=/usr/bin:/bin"};
    environment.insert(environment.end(), launch.environment.begin(), launch.environment.end());
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    char program[] = TALLOW_PROGRAM;
    std::vector<std::string> arguments = launch.arguments;
    std::vector<char*> argv = {program};
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        const int error = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(error, 2);
        if (launch.fileSizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(*launch.fileSizeLimit),
                               static_cast<rlim_t>(*launch.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execve(program, argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(stderrPath)};
}
