#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A fresh folder for one test, removed with everything in it when the test ends.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return m_path / name;
    }

  private:
    std::filesystem::path m_path;
};

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFileBytes(const std::filesystem::path& path);
// Puts in folder a temporary file of the program's as a killed writer leaves one: of no writer
// still running, and made long ago. Returns its path.
std::filesystem::path LeaveAbandonedTemporary(const std::filesystem::path& folder);

// The C++ library of the Windows build cannot make symbolic links (Windows asks for a privilege
// to make them anyway): tests of how links are treated run on POSIX only.
#ifdef _WIN32
#define SKIP_WITHOUT_SYMBOLIC_LINKS() GTEST_SKIP() << "no symbolic links on this platform"
#else
#define SKIP_WITHOUT_SYMBOLIC_LINKS() static_cast<void>(0)
#endif
