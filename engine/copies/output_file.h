#pragma once

#include <string>
#include <vector>

namespace engine {

// Whether a file that the program writes for the user (the run's report) may be written at a
// path: a database, a server backup (a safety copy), a copy's record, a folder or a file of one
// of the run's own databases is never replaced, and a place that cannot take a file is found
// before anything else is done.
struct OutputFileCheck {
    std::string refusal;  // why it may not be written there, in Portuguese; empty when it may
    bool exists = false;  // a file is there, which writing would replace
};

// databaseFiles: the files of the run's databases (the file part of each path).
OutputFileCheck checkOutputFile(const std::string& path, const std::vector<std::string>& databaseFiles);

}  // namespace engine
