#pragma once

#include <string>

#include "import_session.h"
#include "run_prompter.h"

namespace engine {

// (Re)connects both databases of the session to the files the two file-name boxes name and
// starts the destination transaction over both. When the server refuses the login, asks the
// prompter for another user and password and tries again with them, which the session keeps
// from then on. Reports every failure through the prompter, and success too when announce is
// set.
bool Connectar(ImportSession& session, const std::string& origem, const std::string& destino, RunPrompter& prompter,
               bool announce);

}  // namespace engine
