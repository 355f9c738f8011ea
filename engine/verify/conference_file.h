#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "log_file.h"

namespace engine {

inline constexpr const char* kConferenceFileName = "conferencia.csv";

// conferencia.csv: every finding of a comparison, one line each, in UTF-8 with a byte-order
// mark, fields separated by ";" and written as csvField writes them. Written as the comparison
// goes, in blocks, so that memory does not grow with the findings. The file is whole in one
// folder: the program folder or, when that folder cannot take it (a full disk), the user's data
// folder, to which what was already written moves with the rest.
class ConferenceFile {
public:
    // Creates the file in the program folder or, when that folder cannot take it, in the
    // user's data folder; throws std::runtime_error when neither can.
    explicit ConferenceFile(const std::string& programFolder);
    ~ConferenceFile();
    ConferenceFile(const ConferenceFile&) = delete;
    ConferenceFile& operator=(const ConferenceFile&) = delete;

    // Where the file is now.
    const std::string& path() const { return path_; }
    // Why the program folder did not take the file; empty when it did.
    const std::string& programFolderFailure() const { return programFolderFailure_; }
    // Why findings are missing from the file (no folder took them); empty while it is whole.
    const std::string& failure() const { return failure_; }

    // One finding: the table, the key, what was found ("diferente", "ausente", "excedente"),
    // and the column, the mapped value, the destination's value and the explanation, each
    // empty where it does not apply.
    void add(std::string_view table, std::string_view key, std::string_view finding, std::string_view column,
             std::string_view mapped, std::string_view destination, std::string_view explanation);
    // Writes what is still held. Never throws: what no folder takes is told by failure().
    void flush();

private:
    void write(const std::string& bytes);
    // Moves the file, with the bytes, to the user's data folder.
    void moveToUserDataFolder(const std::string& bytes);

    std::string path_;
    std::unique_ptr<platform::LogFile> file_;
    std::size_t written_ = 0;  // the bytes the file holds
    std::string pending_;
    std::string programFolderFailure_;
    std::string failure_;
};

}  // namespace engine
