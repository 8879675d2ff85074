#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

// A file replaced all at once. The new bytes go to a temporary file beside the target (or beside
// the file a link there names), which takes the target's place, with the target's permission
// bits, only on Commit. Until then, and whatever fails, the target is untouched, and a temporary
// file that was not committed is removed. A read-only target, or one that is not a regular file,
// is refused as a plain open would refuse it.
//
// Nothing is left behind by a kill either: on Linux the temporary file has no name until it is
// complete, where the file system allows; a named one is removed on SIGTERM, SIGINT and SIGHUP,
// and one that a killed writer left is removed by the next write beside it.
class AtomicFile {
  public:
    explicit AtomicFile(const std::filesystem::path& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    // False once anything failed; later writes are ignored.
    bool Write(std::string_view bytes);
    bool Commit();

  private:
    // Per platform, as are the two after it: opens the temporary file for a target that is in
    // state existing.
    void Open(const std::filesystem::file_status& existing);
    // Makes the bytes, already out of the stream's buffer, durable and puts the file in the
    // target's place.
    bool PutInPlace();
    // Closes the file and removes the temporary file's name, if it has one.
    void Discard();

    std::filesystem::path m_target;
    // Empty while the temporary file has no name.
    std::filesystem::path m_temporary;
    std::FILE* m_file = nullptr;
    bool m_failed = false;
    std::uint64_t m_written = 0;
    std::uint64_t m_writtenBack = 0;
    // Where a signal finds the named temporary file, or -1.
    int m_slot = -1;
};
