#pragma once

#include <string>

#include "run_observer.h"
#include "run_prompter.h"
#include "server_login.h"
#include "table_choice.h"
#include "verification_report.h"

namespace engine {

// What a front end asks of a comparison of the destination with the source.
struct VerificationRequest {
    // The database paths exactly as the window's file-name boxes hold them.
    std::string origem;
    std::string destino;
    // The tables, as for an import: Produtos compares the product groups and the products.
    TableChoice tables;
};

// Compares each chosen destination table with what its import makes of the source, table
// after table in the import's order, and writes every finding to conferencia.csv. Columns set
// to "today" by the import match a day from that of the destination's last safety copy in
// copias.log (any earlier day when there is none) to the comparison's.
// Read-only: both databases are read in read-only snapshot transactions of a session of its
// own (the front end's session is not touched), nothing is asked and no copy is made.
// Refused as a second run is, through the same admission, while a run imports into the
// destination; the destination's lock is held while comparing, so that no run starts
// meanwhile. Raises nothing: a failure that stops the comparison is in the report. After a stop
// request the tables not reached are in the report as such; a table that could not be
// compared to its end, a stop or conferencia.csv cut short leaves the report incomplete.
// login: who logs in; what the technician types after a refused login replaces it.
VerificationReport verifyDestination(const std::string& programFolder, ServerLogin& login,
                                     const VerificationRequest& request, RunObserver& observer, RunPrompter& prompter);

}  // namespace engine
