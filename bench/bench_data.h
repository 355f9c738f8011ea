#pragma once

#include <string>

namespace bench {

// The source of the import benchmarks: clients spread over ten cities, products over the tax
// profiles and units, each with a CEST code from a table of a thousand, and sellers; rows of each.
std::string sourceScript(long rows);

// The destination of the import benchmarks: the ten cities among the 5,570 municipalities of
// CIDADE.
std::string destinationScript();

}  // namespace bench
