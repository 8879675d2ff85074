// What the package starts as Tallow: it makes the maker folder below Documents, as the Windows
// installer does (the program itself never makes it), then becomes the program, with the same
// arguments and environment, so the exit status and standard error are the program's own.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "storage/UserDocuments.h"
#include "storage/WorkingFolders.h"

namespace fs = std::filesystem;

int main(int, char* argv[]) {
    std::error_code ignored;
    const fs::path documents =
        XdgDocumentsFolder(std::getenv("HOME"), std::getenv("XDG_CONFIG_HOME"));
    if (!documents.empty()) {
        fs::create_directories(MakerFolder(documents), ignored);
    }
    const fs::path self = fs::read_symlink("/proc/self/exe", ignored);
    const std::string program = (self.parent_path() / TALLOW_PROGRAM_FROM_LAUNCHER).string();
    execv(program.c_str(), argv);
    std::perror(program.c_str());
    // Not a status of the program's: a caller never takes it for one.
    return 127;
}
