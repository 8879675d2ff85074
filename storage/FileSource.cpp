#include "storage/FileSource.h"

#ifdef _WIN32
#include "storage/WindowsStream.h"
#else
#include <sys/stat.h>

#include <cerrno>
#endif


namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
std::FILE* Open(const fs::path& path, FileSource::Use use) {
    // A file open here could not be replaced.
    if (use == FileSource::Use::HoldSpace) {
        return nullptr;
    }
    // To be deleted through this handle once read, with no one writing to it or moving it
    // meanwhile.
    const bool deleting = use == FileSource::Use::ReadThenDelete;
    const DWORD sharing = FILE_SHARE_READ | (deleting ? 0 : FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ | (deleting ? DELETE | FILE_WRITE_ATTRIBUTES : 0),
                    sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    // A file the user may read but not delete is still converted; its deletion then fails.
    if (handle == INVALID_HANDLE_VALUE && deleting && GetLastError() == ERROR_ACCESS_DENIED) {
        handle = CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return StreamOver(handle, _O_RDONLY, "rb");
}

bool SetReadOnly(HANDLE handle, DWORD attributes) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic) != 0;
}
#else
std::FILE* Open(const fs::path& path, FileSource::Use) {
    return std::fopen(path.c_str(), "rb");
}
#endif

}  // namespace

FileSource::FileSource(const fs::path& path, Use use) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return;
    }
    m_file = Open(path, use);
    if (m_file == nullptr) {
        return;
    }
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    const std::optional<Identity> identity = OpenIdentity();
    if (!identity) {
        std::fclose(m_file);
        m_file = nullptr;
        return;
    }
    m_opened = *identity;
}

FileSource::~FileSource() {
    Close();
}

void FileSource::Close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

std::optional<std::size_t> FileSource::Read(char* buffer, std::size_t room) {
    const std::size_t got = std::fread(buffer, 1, room, m_file);
    if (got == 0 && std::ferror(m_file) != 0) {
        return std::nullopt;
    }
    return got;
}

bool FileSource::Rewind() {
    std::clearerr(m_file);
    return std::fseek(m_file, 0, SEEK_SET) == 0;
}

bool FileSource::Unchanged() const {
    return m_file != nullptr && OpenIdentity() == m_opened;
}

#ifdef _WIN32
std::optional<FileSource::Identity> FileSource::OpenIdentity() const {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(HandleOf(m_file), &info)) {
        return std::nullopt;
    }
    return Identity{
        info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
        (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
        static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                  info.ftLastWriteTime.dwLowDateTime)};
}

// The name cannot have been given to another file while the handle denies deletion; the file
// goes through the same handle, its read-only attribute cleared first and put back on failure.
FileSource::Deletion FileSource::DeleteName(const fs::path&) {
    HANDLE handle = HandleOf(m_file);
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
        return Deletion::Failed;
    }
    const DWORD attributes = basic.FileAttributes;
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !SetReadOnly(handle, attributes & ~FILE_ATTRIBUTE_READONLY)) {
        return Deletion::Failed;
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition)) {
        return Deletion::Deleted;
    }
    if (readOnly) {
        SetReadOnly(handle, attributes);
    }
    return Deletion::Failed;
}
#else
std::optional<FileSource::Identity> FileSource::OpenIdentity() const {
    struct stat info {};
    if (fstat(fileno(m_file), &info) != 0) {
        return std::nullopt;
    }
    return Identity{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::uint64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

FileSource::Deletion FileSource::DeleteName(const fs::path& path) {
    struct stat named {};
    if (lstat(path.c_str(), &named) != 0) {
        return errno == ENOENT ? Deletion::Deleted : Deletion::Failed;
    }
    if (stat(path.c_str(), &named) != 0 ||
        static_cast<std::uint64_t>(named.st_dev) != m_opened.device ||
        static_cast<std::uint64_t>(named.st_ino) != m_opened.file) {
        return Deletion::Replaced;
    }
    // Removing a name needs only its folder's write permission: the file's mode is not touched.
    std::error_code error;
    return fs::remove(path, error) && !error ? Deletion::Deleted : Deletion::Failed;
}
#endif
