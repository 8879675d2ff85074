#include "storage/WorkingFolders.h"

#include "storage/FileHelpers.h"

namespace fs = std::filesystem;

fs::path MakerFolder(const fs::path& documentsDir) {
    return documentsDir / "Merrow";
}

fs::path ProductFolder(const fs::path& documentsDir) {
    return MakerFolder(documentsDir) / "TallowKit";
}

fs::path ResultFolder(const fs::path& documentsDir) {
    return ProductFolder(documentsDir) / "Result";
}

fs::path TempFolder(const fs::path& documentsDir) {
    return ProductFolder(documentsDir) / "temp";
}

fs::path AutoFileFolder(const fs::path& documentsDir) {
    return ProductFolder(documentsDir) / "AutoFile";
}

bool CreateFolder(const fs::path& folder) {
    std::error_code error;
    return fs::create_directory(folder, error) && !error;
}

WorkingFolders CreateWorkingFolders(const fs::path& documentsDir) {
    if (DirectoryExists(ProductFolder(documentsDir)) == 0) {
        CreateFolder(ProductFolder(documentsDir));
    }
    WorkingFolders folders{ResultFolder(documentsDir), TempFolder(documentsDir)};
    CreateFolder(folders.result);
    if (DirectoryExists(folders.temp) == 0) {
        CreateFolder(folders.temp);
    }
    return folders;
}
