#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::random_device random;
    m_path = fs::temp_directory_path() /
             ("tallow-test-" + std::to_string(random()) + "-" + std::to_string(random()));
    fs::create_directories(m_path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(m_path, error);
}

void WriteFileBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << path;
}

fs::path LeaveAbandonedTemporary(const fs::path& folder) {
    const fs::path leftover = folder / ".Tallow-killed.tmp";
    WriteFileBytes(leftover, "left by a killed writer");
    fs::last_write_time(leftover, fs::file_time_type::clock::now() - std::chrono::minutes(1));
    return leftover;
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}
