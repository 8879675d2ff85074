#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "core/NumberListStream.h"

// A regular file's bytes (links followed), read in order. Anything else (a folder, a FIFO, a
// device) does not open, so that no read can block or run forever.
class FileSource final : public ByteSource {
  public:
    // HoldSpace keeps, where the system allows, a file's space taken while it is replaced or
    // deleted, until Close: freeing a large file's space takes a while, which can then be spent
    // at a better time.
    enum class Use { Read, ReadThenDelete, HoldSpace };
    enum class Deletion { Deleted, Failed, Changed };

    // ReadThenDelete keeps, on Windows, other writers off the file until it is closed.
    explicit FileSource(const std::filesystem::path& path, Use use = Use::Read);
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    void Close();
    std::uintmax_t Size() const { return m_opened.size; }
    std::optional<std::size_t> Read(char* buffer, std::size_t room) override;
    bool Rewind() override;
    // Whether the open file still has the size and the modification time it had when opened.
    bool Unchanged() const;
    // Deletes path only when it still names the file opened here, unchanged (for a link, the
    // link goes): a file written over or put in its place since is Changed and stays. A name
    // already gone counts as Deleted.
    Deletion DeleteName(const std::filesystem::path& path);

    // Which file, and its state: a file changed, or another in its place, differs.
    struct Identity {
        std::uint64_t device;
        std::uint64_t file;
        std::uint64_t size;
        std::int64_t modified;
        // When its data or its entry last changed, where the system keeps it apart.
        std::int64_t changed;
        bool operator==(const Identity&) const = default;
    };

  private:
    // Per platform, as are OpenIdentity and DeleteName.
    static std::FILE* Open(const std::filesystem::path& path, Use use);

    std::optional<Identity> OpenIdentity() const;

    std::FILE* m_file = nullptr;
    // All zero when no file could be opened.
    Identity m_opened{};
};
