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
// Number lists: first, first + 1 and so on, one per line; or one text again and again.
std::string CountingList(int count, int first = 0);
std::string Repeated(std::string_view text, std::size_t times);
// Bytes of a file: ASCII text as UTF-16LE, and the marks that name an encoding.
std::string Utf16Le(std::string_view ascii);
inline const std::string kUtf8Mark = "\xEF\xBB\xBF";
inline const std::string kUtf16LeMark = "\xFF\xFE";

// The C++ library of the Windows build cannot make symbolic links (Windows asks for a privilege
// to make them anyway): tests of how links are treated run on POSIX only.
#ifdef _WIN32
#define SKIP_WITHOUT_SYMBOLIC_LINKS() GTEST_SKIP() << "no symbolic links on this platform"
#else
#define SKIP_WITHOUT_SYMBOLIC_LINKS() static_cast<void>(0)
#endif
