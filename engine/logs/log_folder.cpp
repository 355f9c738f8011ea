#include "log_folder.h"

#include <stdexcept>

#include "user_data_folder.h"

namespace engine {

std::string writeInLogFolder(const std::string& programFolder, std::string& programFolderFailure,
                             const std::function<void(const std::string& folder)>& write) {
    if (programFolderFailure.empty()) {
        try {
            write(programFolder);
            return programFolder;
        } catch (const std::runtime_error& failure) {
            programFolderFailure = failure.what();
        }
    }
    const std::string fallback = platform::userDataFolder();
    write(fallback);
    return fallback;
}

}  // namespace engine
