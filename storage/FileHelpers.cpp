#include "storage/FileHelpers.h"

#include <vector>

#include "storage/AtomicFile.h"

namespace fs = std::filesystem;

int DirectoryExists(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error) ? 1 : 0;
}

int FileExists(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return fs::exists(status) && !fs::is_directory(status) ? 1 : 0;
}

int WriteBytesFile(const fs::path& path, std::string_view bytes) {
    AtomicFile file(path);
    return file.Write(bytes) && file.Commit() ? 1 : 0;
}

int DeleteDirectoryTree(const fs::path& folder) {
    std::error_code error;
    const fs::file_status entry = fs::symlink_status(folder, error);
    // A link to a folder passes for the folder everywhere else; only the link goes.
    if (fs::is_symlink(entry) && fs::is_directory(fs::status(folder, error))) {
        fs::remove(folder, error);
        return 1;
    }
    if (!fs::is_directory(entry)) {
        return 0;
    }
    // Listed first, so that removals cannot disturb the listing.
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(*it);
    }
    for (const fs::directory_entry& entry : entries) {
        std::error_code ignored;
        if (fs::is_directory(entry.symlink_status(ignored))) {
            DeleteDirectoryTree(entry.path());
        } else {
            fs::remove(entry.path(), ignored);
        }
    }
    fs::remove(folder, error);
    return 1;
}
