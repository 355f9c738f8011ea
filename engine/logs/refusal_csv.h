#pragma once

#include <string>

#include "run_report.h"

namespace engine {

// recusadas.csv as spreadsheets set to Portuguese open it: UTF-8 with a byte-order mark, ";"
// between fields, lines ended by CR LF, each field as csvField writes it.

// The byte-order mark and the header row, with its line end.
std::string csvPreamble();

// One refused row as a line, without its line end. Its last field holds the source row's
// columns as NAME=value pairs separated by " | ".
std::string csvLine(const RefusedRow& row);

}  // namespace engine
