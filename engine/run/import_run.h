#pragma once

#include "import_session.h"
#include "run_observer.h"
#include "run_prompter.h"
#include "run_report.h"
#include "run_request.h"

namespace engine {

// The Import command of both front ends: checks the choice of tables, reconnects the session
// to the request's two databases, admits and confirms the run, makes the safety copy, runs the
// ticked table imports in their fixed order, saves and offers the logs and tells how the run
// ended. Afterwards the source stays attached and the destination is closed. Raises nothing:
// a failure that the run does not handle is in the report, after the window was made usable
// again.
RunReport runImport(ImportSession& session, const RunRequest& request, RunObserver& observer, RunPrompter& prompter);

}  // namespace engine
