#include "storage/AtomicFile.h"

#include <cstring>
#include <vector>

#include "storage/TemporaryFiles.h"
#include "storage/win32/WindowsStream.h"

namespace fs = std::filesystem;

namespace {

bool MarkForDeletion(HANDLE file, bool deleted) {
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(deleted)};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

// A new file that goes when its handle closes, as it does when the process is killed, until
// PutInPlace takes the mark off. No one else may open it meanwhile.
std::FILE* OpenNew(const fs::path& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && !MarkForDeletion(file, true)) {
        CloseHandle(file);
        return nullptr;
    }
    return StreamOver(file, 0, "wb");
}

}  // namespace

// Deletion on close already tells a dead writer's file apart: the name needs no writer.
std::string WriterTag() {
    return {};
}

// A file some process still has open cannot be deleted: only an abandoned one goes.
void RemoveIfAbandoned(const fs::path& temporary) {
    std::error_code error;
    fs::remove(temporary, error);
}

// Closing the file deletes it: it needs no removal by name. The only permission bit Windows has,
// read-only, a replaced target never has.
void AtomicFile::Open(const fs::file_status&) {
    m_file = OpenNew(TemporarySibling(m_target));
}

// Renamed by its handle, the mark taken off first; put back when the rename fails.
bool AtomicFile::PutInPlace() {
    if (_commit(_fileno(m_file)) != 0) {
        return false;
    }
    const std::wstring name = m_target.wstring();
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name.c_str(), rename->FileNameLength);
    const HANDLE handle = HandleOf(m_file);
    if (MarkForDeletion(handle, false) &&
        SetFileInformationByHandle(handle, FileRenameInfo, rename,
                                   static_cast<DWORD>(buffer.size())) != 0) {
        return true;
    }
    MarkForDeletion(handle, true);
    return false;
}

void AtomicFile::Discard() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}
