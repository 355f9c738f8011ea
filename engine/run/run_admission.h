#pragma once

#include <memory>

#include "import_session.h"
#include "run_lock.h"
#include "run_prompter.h"

namespace engine {

// Checks, with both databases connected and before anything is asked or emptied, that the run
// may empty the destination: the source and the destination are different databases, as the
// server sees them, and no other run is importing into the destination. Returns the
// destination's lock, to be kept for the whole run; or nullptr after telling the user why the
// run cannot start.
// `nothingDone` ends each refusal: what the refused command did not do.
inline constexpr const char* kNothingImported = "Nada foi apagado nem importado.";
inline constexpr const char* kNothingCompared = "Nada foi conferido.";
inline constexpr const char* kNoSequenceChanged = "Nenhuma sequência foi alterada.";
std::unique_ptr<platform::DestinationLock> admitRun(ImportSession& session, RunPrompter& prompter,
                                                    const std::string& nothingDone = kNothingImported);

}  // namespace engine
