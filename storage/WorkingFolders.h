#pragma once

#include <filesystem>
#include <string_view>

// The program's folder tree below the user's Documents folder. The maker folder Merrow is never
// created here: an installer makes it.
struct WorkingFolders {
    std::filesystem::path result;
    std::filesystem::path temp;
};

std::filesystem::path MakerFolder(const std::filesystem::path& documentsDir);
std::filesystem::path ProductFolder(const std::filesystem::path& documentsDir);
std::filesystem::path ResultFolder(const std::filesystem::path& documentsDir);
std::filesystem::path TempFolder(const std::filesystem::path& documentsDir);
std::filesystem::path AutoFileFolder(const std::filesystem::path& documentsDir);
// The automatic run's input, in the AutoFile folder.
inline constexpr std::string_view kAutoInputName = "Radix10Kan.tbin";

// Creates, one level each and ignoring failures, the product folder when missing, the Result
// folder, and the temp folder when missing; returns the paths of the last two.
WorkingFolders CreateWorkingFolders(const std::filesystem::path& documentsDir);

// Creates exactly one folder level: false when it exists already or its parent is missing.
bool CreateFolder(const std::filesystem::path& folder);
