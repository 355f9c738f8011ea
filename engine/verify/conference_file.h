#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "log_file.h"

namespace engine {

inline constexpr const char* kConferenceFileName = "conferencia.csv";

// conferencia.csv: every finding of a comparison, one line each, in UTF-8 with a byte-order
// mark, fields separated by ";" and written as csvField writes them. Written as the comparison goes, in blocks, so that
// memory does not grow with the findings.
class ConferenceFile {
public:
    // Creates the file in the program folder or, when that folder cannot take it, in the
    // user's data folder; throws std::runtime_error when neither can.
    explicit ConferenceFile(const std::string& programFolder);
    ~ConferenceFile();
    ConferenceFile(const ConferenceFile&) = delete;
    ConferenceFile& operator=(const ConferenceFile&) = delete;

    const std::string& path() const { return path_; }

    // One finding: the table, the key, what was found ("diferente", "ausente", "excedente"),
    // and the column, the mapped value, the destination's value and the explanation, each
    // empty where it does not apply.
    void add(std::string_view table, std::string_view key, std::string_view finding, std::string_view column,
             std::string_view mapped, std::string_view destination, std::string_view explanation);
    // Writes what is still held; throws std::runtime_error when it cannot.
    void flush();

private:
    std::string path_;
    std::unique_ptr<platform::LogFile> file_;
    std::string pending_;
};

}  // namespace engine
