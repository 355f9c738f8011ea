#include "program_folder_lock.h"

#include <exception>

#include "user_data_folder.h"

namespace engine {

ProgramFolderLock::ProgramFolderLock(const std::string& programFolder) {
    // The folder itself stands for the database a destination's lock is beside: the lock file
    // is ".tavlo-merak-lock" in it, trusted when its owner could change the folder.
    std::string folder = programFolder;
    lock_ = std::make_unique<platform::DestinationLock>(folder);
    if (!lock_->failure().empty()) {
        try {
            folder = platform::userDataFolder();
            lock_ = std::make_unique<platform::DestinationLock>(folder);
        } catch (const std::exception& failure) {
            refusal_ = "Não foi possível reservar a pasta do programa para esta execução:\r\n" + programFolder +
                       "\r\nNada foi apagado nem importado.\r\nFalha: " + lock_->failure() + "\r\n" + failure.what();
            lock_.reset();
            return;
        }
    }
    if (!lock_->failure().empty()) {
        refusal_ = "Não foi possível reservar a pasta do programa para esta execução:\r\n" + folder +
                   "\r\nNada foi apagado nem importado.\r\nFalha: " + lock_->failure();
    } else if (!lock_->held()) {
        refusal_ =
            "Outra importação, simulação ou conferência deste programa está em andamento e usa os logs da "
            "pasta\r\n" +
            folder + "\r\nEspere ela terminar. Nada foi apagado nem importado.";
    }
}

}  // namespace engine
