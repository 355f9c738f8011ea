#pragma once

#include <ctime>
#include <string>

#include "attachment.h"
#include "transaction.h"
#include "window_seam.h"

namespace engine {

class ImportContext;

// A server backup of the destination, made by a run before it emptied anything.
struct SafetyCopy {
    std::string path;  // the copy file, as the server (on this machine) wrote it
    long long bytes = 0;
    std::string database;  // the destination's file name as the server sees it
};

// Where the copy of a database goes: beside it, as "<name without extension>-<yyyymmdd-hhmmss>.fbk"
// with the given local time.
std::string safetyCopyPath(const std::string& databaseFileName, const std::tm& localTime);

// Backs up the attached destination through its server into a file beside it, showing the
// progress on the window. Throws db::DatabaseError with the server's reason when it fails.
SafetyCopy makeSafetyCopy(WindowSeam& window, db::Attachment& destination, db::Transaction& transaction);

// The copy an import run makes after its confirmation and before its first table: on
// success it is kept in the context and noted in the program folder's copias.log. When it
// fails the window says why and asks whether to import without a copy (default No).
// Returns false when the run must stop there, with nothing emptied.
bool copyBeforeEmptying(ImportContext& context);

}  // namespace engine
