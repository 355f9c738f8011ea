#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "log_file.h"
#include "log_record.h"

namespace engine {

// How a log's entries are written: in the single-byte code page, each followed by CR LF (the
// run's logs), or in UTF-8 after a first part written at the start of every file the log
// opens (recusadas.csv: a byte-order mark and its header row).
struct LogFormat {
    bool utf8 = false;
    std::string preamble;
};

// One log of a run, written entry by entry as the run makes them: the file is created (or
// emptied) on the run's first entry, and each entry is on disk, followed by CR LF, in the
// single-byte code page, as soon as it is appended. A run without entries leaves the file as
// it was. When the program folder cannot take the file, the log goes to the same file name in
// the user's data folder; when it stops taking it mid-run (a full disk), what was written so
// far, up to its last whole entry, moves there with the rest and the cut file is removed, so
// that the log is whole in one place.
class RunLogFile {
public:
    RunLogFile(std::string programFolder, std::string fileName, LogFormat format = {});

    // Never throws: an entry that no folder can take is kept until finish().
    void append(const std::string& entry);
    std::size_t entries() const { return entries_; }

    // Where the entries are: the program folder, or the user's data folder.
    const std::string& folder() const { return folder_; }
    const std::string& fileName() const { return fileName_; }
    std::string path() const { return folder_ + fileName_; }
    // Why the program folder could not take the log; empty when it did.
    const std::string& programFolderFailure() const { return programFolderFailure_; }

    // The entries that no folder could take.
    std::size_t lostEntries() const { return unwritten_.size(); }

    // Keeps a record beside the log (log_record.h), begun with the header each time the log's
    // file is created, in the folder that took it; an older record there is removed first.
    void keepRecord(std::string header);
    // A line of the record; held until the log's file is created. Never throws: a line that
    // cannot be written leaves the record without it, so that it vouches for less.
    void appendRecord(const std::string& line);

    // Closes the file.
    void finish();

private:
    bool open();
    // The bytes of the file being left that hold whole entries; empty when it cannot be read.
    std::string writtenSoFar() const;
    void openRecord();

    std::string folder_;
    const std::string fileName_;
    const LogFormat format_;
    std::unique_ptr<platform::LogFile> file_;
    // The bytes of whole entries (and the preamble) the current file holds.
    std::size_t bytesWritten_ = 0;
    std::size_t entries_ = 0;
    std::string programFolderFailure_;
    std::string fallbackFailure_;
    std::vector<std::string> unwritten_;
    std::string recordHeader_;
    std::string pendingRecord_;
    std::unique_ptr<platform::LogFile> record_;
};

// The run's two logs, quorel.log (errors) and quorel2.log (duplicate clients), and the list
// of its refused rows, recusadas.csv; a preview writes quorel-simulacao.log,
// quorel2-simulacao.log and recusadas-simulacao.csv instead and starts them afresh. Each of the
// two logs has its record beside it, naming the run's databases.
class RunLogs {
public:
    void start(const std::string& programFolder, bool preview, const RunDatabases& databases);
    bool active() const { return running_; }

    // Moves the entries of the two lists to their files, in order. Outside a run the lists
    // keep their entries.
    void drain(std::vector<std::string>& logErros, std::vector<std::string>& logClienteRepetido);

    RunLogFile& erros() { return *erros_; }
    RunLogFile& repetidos() { return *repetidos_; }
    // One line per refused row (csvLine of refusal_csv.h), with its header.
    RunLogFile& recusadas() { return *recusadas_; }
    // The entries of the last run, both logs together.
    std::size_t entries() const { return erros_ ? erros_->entries() + repetidos_->entries() : 0; }

    // Ends the run's writing: closes the files; what they hold and where stays known until
    // the next run. When some entry could be written nowhere, throws std::runtime_error with
    // the program folder's failure and, for each file that lost entries, its name and how many
    // it lost.
    void finish();

private:
    bool running_ = false;
    std::unique_ptr<RunLogFile> erros_;
    std::unique_ptr<RunLogFile> repetidos_;
    std::unique_ptr<RunLogFile> recusadas_;
};

}  // namespace engine
