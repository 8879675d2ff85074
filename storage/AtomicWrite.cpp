#include <cstdio>
#include <random>
#include <string>

#include "storage/FileHelpers.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::FILE* OpenNew(const fs::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Makes the rename itself durable; where a folder cannot be synced, the rename still stands.
void FlushFolder(const fs::path& folder) {
#ifndef _WIN32
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#else
    (void)folder;
#endif
}

fs::path TemporarySibling(const fs::path& target) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::string name = ".";
    name += target.filename().string();
    name += '.';
    name += std::to_string(random());
    name += ".tmp";
    return target.parent_path() / name;
}

bool WriteAndClose(std::FILE* file, std::string_view bytes) {
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = written && FlushToDisk(file);
    return std::fclose(file) == 0 && flushed;
}

}  // namespace

int WriteBytesFile(const fs::path& path, std::string_view bytes) {
    const fs::path temporary = TemporarySibling(path);
    std::FILE* file = OpenNew(temporary);
    if (file == nullptr) {
        return 0;
    }
    std::error_code error;
    if (WriteAndClose(file, bytes)) {
        fs::rename(temporary, path, error);
        if (!error) {
            FlushFolder(path.parent_path());
            return 1;
        }
    }
    fs::remove(temporary, error);
    return 0;
}
