#pragma once

#include <string>

#include "run_mode.h"
#include "table_choice.h"

namespace engine {

// What a front end asks of an import run.
struct RunRequest {
    // The database paths exactly as the window's file-name boxes hold them.
    std::string origem;
    std::string destino;
    TableChoice tables;
    RunMode mode = RunMode::Default;
    // A server backup of the destination before the first DELETE; a preview never makes one.
    bool safetyCopy = true;
};

}  // namespace engine
