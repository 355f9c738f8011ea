#pragma once

#include <functional>
#include <string>

namespace engine {

// Where the program's logs go: the program folder or, when it cannot take a file, the user's
// data folder. write(folder) creates or writes the file in the folder it is given, raising
// std::runtime_error when it cannot. It is called with the program folder unless
// programFolderFailure already says why that folder failed; when it fails there,
// programFolderFailure takes the reason and write is called with the user's data folder.
// Returns the folder that took the file; raises the user's data folder's failure.
std::string writeInLogFolder(const std::string& programFolder, std::string& programFolderFailure,
                             const std::function<void(const std::string& folder)>& write);

}  // namespace engine
