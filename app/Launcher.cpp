// What the package starts as Tallow: it makes the maker folder below Documents, as the Windows
// installer does (the program itself never makes it). An automatic run that shows no box it
// carries out itself, without loading the window toolkit, whose libraries cost most of a short
// job's time; anything else it hands to the program, with the same arguments and environment,
// so the exit status and standard error are the program's own.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/StandardStreams.h"
#include "app/UnattendedRun.h"
#include "storage/UserDocuments.h"
#include "storage/WorkingFolders.h"

namespace fs = std::filesystem;

int main(int, char* argv[]) {
    KeepStatusApartFromStandardStreams();
    std::error_code ignored;
    const fs::path documents = UserDocumentsFolder();
    fs::create_directories(MakerFolder(documents), ignored);
    const fs::path self = fs::read_symlink("/proc/self/exe", ignored);
    const fs::path program = self.parent_path() / TALLOW_PROGRAM_FROM_LAUNCHER;
    if (!AutomaticRunShowsBoxes(documents)) {
        HeadlessToolkit toolkit(documents, fs::weakly_canonical(program, ignored));
        if (const std::optional<int> status = RunUnattended(toolkit)) {
            return *status;
        }
    }
    execv(program.c_str(), argv);
    std::perror(program.c_str());
    // Not a status of the program's: a caller never takes it for one.
    return 127;
}
