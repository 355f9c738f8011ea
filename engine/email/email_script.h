#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace db {
class Statement;
}

namespace engine {

// The script that sets every client's e-mail address, found by the client's code.
inline constexpr std::string_view kEmailScriptFileName = "UPDATE Email Clientes.SQL";

// "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='<email>' WHERE CLIENTE.CLI_CODIGO=<code>;", the
// e-mail as an SQL string literal and the code as a whole number. Raises when the code is
// not one.
std::string emailUpdateLine(std::string_view email, std::string_view code);

// Runs "SELECT * FROM CLIENTE" on the cursor and hands over the line of each row, in the
// order of the rows, until the last row or the first failure.
void readEmailScript(db::Statement& cursor, const std::function<void(const std::string& line)>& addLine);

// Creates or replaces the file with the script in the Windows-1252 code page. Raises
// "Cannot create file "<path>". <reason>" when the file cannot be written.
void writeEmailScript(const std::string& path, const std::string& script);

}  // namespace engine
