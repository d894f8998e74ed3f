#pragma once
// Paths as the user means them: full paths, and whether two names are one
// file.

#include <string>

namespace tarvo {

// The full path of a file: absolute, with ".", ".." and symbolic links
// resolved as far as the path exists. The path as given when even that fails.
std::string FullPath(const std::string& path);

// True when a and b name the same file: the same device and inode when both
// exist (hard and symbolic links included), otherwise the same full path.
bool SameFile(const std::string& a, const std::string& b);

} // namespace tarvo
