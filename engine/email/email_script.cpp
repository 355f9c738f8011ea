#include "email_script.h"

#include <optional>
#include <stdexcept>

#include "codepage.h"
#include "log_file.h"
#include "statement.h"
#include "text_rules.h"
#include "values.h"

namespace engine {

std::string emailUpdateLine(std::string_view email, std::string_view code) {
    const std::optional<std::int32_t> number = db::parseInteger(code);
    if (!number) db::throwNotAnInteger(code);
    return "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL=" + engine::sqlStringLiteral(email) +
           " WHERE CLIENTE.CLI_CODIGO=" + std::to_string(*number) + ";";
}

void readEmailScript(db::Statement& cursor, const std::function<void(const std::string& line)>& addLine) {
    cursor.close();
    cursor.setText("SELECT * FROM CLIENTE");
    cursor.open();
    cursor.first();
    while (!cursor.eof()) {
        const std::string email = cursor.column("EMAIL").asText();
        const std::string code = cursor.column("CODIGO").asText();
        addLine(emailUpdateLine(email, code));
        cursor.next();
    }
}

void writeEmailScript(const std::string& path, const std::string& script) {
    // The clients' e-mail addresses: a private file, as the run logs are.
    platform::LogFile(path).write(db::toCodePage(script));
}

}  // namespace engine
