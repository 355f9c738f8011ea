#include "run_state.h"

namespace engine {

RunState::RunState(ImportSession& importSession, RunMode runMode, RunObserver& observer, RunPrompter& runPrompter)
    : session(importSession), mode(runMode), progress(importSession.gauge, observer), prompter(runPrompter) {}

}  // namespace engine
