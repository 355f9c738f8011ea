#pragma once

#include <string>
#include <string_view>

namespace db {

// A line of a server's text (a failure, a service's output, a backup's header) as Unicode.
// The server quotes file names in the file-name encoding among texts in the code page: a line
// that is UTF-8 beyond ASCII is taken as UTF-8, any other as code-page bytes.
std::string fromServerLine(std::string_view bytes);

}  // namespace db
