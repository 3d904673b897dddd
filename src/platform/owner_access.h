// Who besides its owner may use what the system creates: nobody, or the office group.
//
// A folder is an office folder when its group may write in it and hands itself down (the
// setgid bit), and it is no folder that everyone shares (writable by all, or sticky, as /tmp
// is). What is made in an office folder is its group's as well; what is made anywhere else is
// its owner's alone. New files get 0600, or 0660 in an office folder; new folders 0700, or
// 02770; whatever the umask. Nothing the system creates is ever open to other users.
#pragma once

#include <optional>
#include <string>

namespace qx {

// The permission bits of path (07777, links followed); nullopt when it cannot be examined.
std::optional<unsigned> PermissionBits(const std::string& path);

bool IsOfficeFolder(const std::string& folder);

// The bits of a new file in folder: 0600, or 0660 in an office folder.
unsigned NewFileMode(const std::string& folder);

// Creates path and every missing folder above it. Each new folder is made as a new folder of
// `model` would be: 02770 with model's group when model is an office folder, else 0700. An
// empty model stands for the nearest folder above that exists. 0, or the errno of the failing
// step.
int MakeFolders(const std::string& path, const std::string& model = "");

// Makes folder (created when missing, with the folders above it) the owner's alone (0700),
// or, with a group, an office folder of that group (02770). "" when done, else why not, for
// people (UTF-8).
std::string MakeOwnFolder(const std::string& folder, const std::string& group);

// Gives the file the group and the bits that the office group of `group` needs to read it
// (0640): the office reads what an administrator keeps, but never writes it. "" or why not.
std::string ShareForReading(const std::string& file, const std::string& group);

}  // namespace qx
