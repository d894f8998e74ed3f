#pragma once
// The temporary files and folders that outputs are written to before they
// replace their target: their names, and the removal of those that a run
// killed part-way left behind.

#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace tarvo {

// A fresh name, in the folder of `target`, for a temporary of this process:
// ".tarvo-HOST-PID-N.tmp", hidden and short, so that a long target name
// cannot make it too long. The host and the process tell a later run whether
// the temporary is still being written.
std::string TemporaryNameBeside(const std::string& target);

// True for a file name that TemporaryNameBeside gives (on any host), or that
// earlier versions gave (".tarvo-PID-N.tmp").
bool IsTemporaryName(const std::string& name);

// Removes from `folder` the temporary files and folders (nothing else) that
// processes of this host left behind: names of TemporaryNameBeside's form
// whose process has ended. Those of running processes, this one included,
// and those of other hosts sharing the folder stay. Never fails; what cannot
// be removed stays.
void RemoveStaleTemporaries(const std::string& folder);

// The path a symbolic link leads to, links followed as far as they go (a
// link to a file not yet there included); the path itself when it is no
// link. An output written there keeps the link in its place.
std::string LinkTarget(std::string path);

// Gives the file or folder open as fd the owner, group and the `bits` of the
// mode of the one it replaces, as far as the user may. A group that cannot
// be kept gets no more access than others had. Made readable and writable
// by its owner only before this, a replacement is never more accessible
// than what it replaces.
void TakeOverOwnership(int fd, const struct stat& replaced, mode_t bits);

// The folder holding path ("." for a bare name).
std::string FolderOf(const std::string& path);

} // namespace tarvo
