#include "database_server.h"

#include "connection_parameters.h"
#include "database_location.h"
#include "file_paths.h"

namespace engine {

namespace {

// The longest file name the server gives a database (MON$DATABASE_NAME), in bytes.
constexpr std::size_t kLongestDatabaseName = 255;

// The Firebird version that writes an on-disk structure, for the explanation.
std::string versionWriting(long major, long minor) {
    if (major == 11) return minor >= 2 ? "Firebird 2.5" : "Firebird 2." + std::to_string(minor);
    if (major == 12) return "Firebird 3.0";
    if (major == 13) return minor >= 1 ? "Firebird 5.0" : "Firebird 4.0";
    return "";
}

std::string structure(long major, long minor) {
    const std::string version = versionWriting(major, minor);
    return std::to_string(major) + "." + std::to_string(minor) + (version.empty() ? "" : " (" + version + ")");
}

// The new file's name: the same folder and name with "-convertido" before its extension.
std::string convertedName(const std::string& file) {
    const std::size_t slash = file.find_last_of("/\\");
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return file + "-convertido";
    return file.substr(0, dot) + "-convertido" + file.substr(dot);
}

}  // namespace

std::string connectionStringOf(const std::string& text) {
    if (db::parseDatabaseLocation(text).namesServer()) return text;
    return std::string(kLoopbackHost) + ":" + text;
}

std::string serverOf(const std::string& text) {
    const db::DatabaseLocation location = db::parseDatabaseLocation(text);
    return location.namesServer() ? location.server : std::string(kLoopbackHost);
}

std::string fileOf(const std::string& text) { return db::parseDatabaseLocation(text).file; }

std::string onServerOf(const std::string& text, const std::string& file) {
    const db::DatabaseLocation location = db::parseDatabaseLocation(text);
    return location.namesServer() ? location.server + ":" + file : file;
}

int serverPortOf(const std::string& text) {
    const db::DatabaseLocation location = db::parseDatabaseLocation(text);
    const std::size_t slash = location.server.find('/', location.host.size());
    if (slash == std::string::npos) return 0;
    int port = 0;
    for (char c : location.server.substr(slash + 1)) {
        if (c < '0' || c > '9' || port > 65535) return 0;
        port = port * 10 + (c - '0');
    }
    return port <= 65535 ? port : 0;
}

std::string withServerPort(const std::string& text, int port) {
    const db::DatabaseLocation location = db::parseDatabaseLocation(text);
    const std::string host = location.namesServer() ? location.host : std::string(kLoopbackHost);
    if (port == 0) return host == kLoopbackHost ? location.file : host + ":" + location.file;
    return host + "/" + std::to_string(port) + ":" + location.file;
}

std::string databaseRefusal(const std::string& text) {
    const db::DatabaseLocation location = db::parseDatabaseLocation(text);
    const std::size_t bytes = platform::toFileNameBytes(location.file).size();
    if (bytes > kLongestDatabaseName)
        return "O caminho do banco de dados tem " + std::to_string(bytes) + " bytes; o servidor Firebird aceita até " +
               std::to_string(kLongestDatabaseName) + ":\r\n" + text +
               "\r\nMova o banco para uma pasta de caminho mais curto.";
    if (!location.namesServer() || db::isThisMachine(location.host)) return "";
    return "O banco de dados precisa estar neste computador:\r\n" + text + "\r\nO servidor " + location.host +
           " é outro computador. Use localhost, 127.0.0.1 ou [::1] (com a porta, se for outra: "
           "localhost/3051:caminho): a cópia de segurança, a trava do destino e as verificações do arquivo "
           "precisam do arquivo aqui.";
}

std::string serverDescription(const db::ServerVersion& version, const std::string& text) {
    const std::string server = serverOf(text);
    return version.known() ? "Firebird " + version.text() + ", " + server : "Firebird, " + server;
}

std::string structureExplanation(const db::StructureMismatch& mismatch, const std::string& text) {
    const std::string server = serverOf(text);
    const std::string backup = mismatch.file + ".fbk";
    const std::string converted = convertedName(mismatch.file);
    const std::string writer = versionWriting(mismatch.foundMajor, mismatch.foundMinor);
    const std::string older = writer.empty() ? "a versão do Firebird que o gravou" : "o " + writer;
    return "O servidor Firebird de " + server +
           " não abre este arquivo: ele foi gravado por outra versão do "
           "Firebird.\r\nArquivo: " +
           mismatch.file + "\r\nEstrutura do arquivo (ODS): " + structure(mismatch.foundMajor, mismatch.foundMinor) +
           "; este servidor abre a " + structure(mismatch.supportedMajor, mismatch.supportedMinor) +
           ".\r\nPara usá-lo, faça uma cópia (backup) com " + older +
           " e restaure-a com este servidor, num arquivo novo (troque PORTA pela porta do servidor de " + older +
           ", 3050 quando é o único, e SENHA pela senha do SYSDBA):\r\n"
           "gbak -b -user SYSDBA -password SENHA -se localhost/PORTA:service_mgr \"" +
           mismatch.file + "\" \"" + backup + "\"\r\ngbak -c -user SYSDBA -password SENHA -se " + server +
           ":service_mgr \"" + backup + "\" \"" + converted + "\"\r\nDepois selecione o arquivo novo: " + converted;
}

}  // namespace engine
