// Files replaced one after another, then two whose writes overlap, then a SIGTERM. Run where files
// without a name are refused, each is written under a temporary name, which the signal must remove.
#include <csignal>
#include <optional>

#include "storage/AtomicFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    // More writes than a signal can know names of at once: each gives its place back.
    for (int write = 0; write < 9; ++write) {
        AtomicFile earlier(folder / "first");
        earlier.Write("0");
        earlier.Commit();
    }
    std::optional<AtomicFile> first(std::in_place, folder / "first");
    first->Write("1");
    first->Commit();
    AtomicFile second(folder / "second");
    second.Write("2");
    // The first ends only once the second writes.
    first.reset();
    std::raise(SIGTERM);
    return 1;
}
