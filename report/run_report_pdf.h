#pragma once

#include <string>

#include "run_report.h"

namespace report {

// The two databases of a run as the technician chose them.
struct RunDatabases {
    std::string origem;
    std::string destino;
};

// The report of a run that a technician hands to the customer, as a PDF in Portuguese: the
// two databases, the date and time, the mode (a preview says on its first line that nothing
// was written), the safety copy, per table the rows before, read, refused and after with the
// time and the sequence, a bar chart of rows read, written and refused per table, and the
// refused rows grouped by table and reason with their keys (the first 200, and how many more).
// A clean run takes one page. Written with Qt's own PDF writer: the program needs a
// QGuiApplication. Throws std::runtime_error when the file cannot be written.
void writeRunReport(const std::string& path, const engine::RunReport& run, const RunDatabases& databases);

}  // namespace report
