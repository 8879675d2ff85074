#pragma once

#include <filesystem>
#include <string_view>

// 1 when path names an existing directory (links followed), else 0.
int DirectoryExists(const std::filesystem::path& path);
// 1 when path names an existing entry that is not a directory, else 0.
int FileExists(const std::filesystem::path& path);
// base followed by suffix as a path component; an empty suffix gives base.
std::filesystem::path JoinPath(const std::filesystem::path& base,
                               const std::filesystem::path& suffix = {});
// Replaces path with exactly bytes, atomically: 1 on success, 0 when nothing was replaced.
int WriteBytesFile(const std::filesystem::path& path, std::string_view bytes);
// Deletes the file at path, read-only or not: true when it is gone.
bool DeleteFile(const std::filesystem::path& path);
// Removes folder and everything below it, depth first, never following a link. 1 when folder
// was a directory whose removal was attempted, 0 when it was not a directory.
int DeleteDirectoryTree(const std::filesystem::path& folder);
