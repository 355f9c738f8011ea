#include "email_script.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>

#include "codepage.h"
#include "file_paths.h"
#include "statement.h"
#include "text_rules.h"
#include "values.h"

namespace engine {

namespace {

[[noreturn]] void cannotCreate(const std::string& path, int error) {
    throw std::runtime_error("Cannot create file \"" + path + "\". " + std::strerror(error));
}

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

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
    const std::string bytes = db::toCodePage(script);
    errno = 0;
    const std::unique_ptr<std::FILE, CloseFile> file(platform::openFile(path, "wb"));
    if (!file) cannotCreate(path, errno);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() || std::fflush(file.get()) != 0)
        cannotCreate(path, errno);
}

}  // namespace engine
