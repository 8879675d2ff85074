#include "storage/FileSource.h"

#include "storage/win32/WindowsStream.h"

namespace fs = std::filesystem;

namespace {

bool SetReadOnly(HANDLE handle, DWORD attributes) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic) != 0;
}

}  // namespace

std::FILE* FileSource::Open(const fs::path& path, Use use) {
    // A file open here could not be replaced.
    std::error_code error;
    if (use == Use::HoldSpace || !fs::is_regular_file(path, error)) {
        return nullptr;
    }
    // To be deleted through this handle once read, with no one writing to it or moving it
    // meanwhile.
    const bool deleting = use == Use::ReadThenDelete;
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

std::optional<FileSource::Identity> FileSource::OpenIdentity() const {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(HandleOf(m_file), &info)) {
        return std::nullopt;
    }
    const auto written =
        static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                  info.ftLastWriteTime.dwLowDateTime);
    // No writer can reach an input held for deletion: its last write tells every change.
    return Identity{
        info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
        (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow, written, written};
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
