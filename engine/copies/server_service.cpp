#include "server_service.h"

#include <string_view>

#include "service_manager.h"
#include "statement.h"
#include "text.h"

namespace engine {

namespace {

// The table whose data the server starts on, from a line such as
// "gbak:    writing data for table CLIENTES" or "gbak:restoring data for table CLIENTES".
std::string tableOfLine(const std::string& line) {
    constexpr std::string_view marker = "data for table ";
    const std::size_t at = line.find(marker);
    if (at == std::string::npos) return "";
    return db::trimBlanks(line.substr(at + marker.size()));
}

}  // namespace

int userTableCount(db::Attachment& attachment, db::Transaction& transaction) {
    db::Statement query("TabelasDoBanco", attachment, transaction);
    query.setText("SELECT COUNT(*) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL");
    query.open();
    return static_cast<int>(query.column(std::size_t{0}).asStoredInteger());
}

namespace {

// Shows a service's phase and moves the gauge one step for each table the server reaches.
void showService(const Progress& progress, const std::string& phase, int tableCount,
                 const std::function<void(const std::function<void(const std::string&)>&)>& run) {
    progress.setGaugeMinimum(0);
    progress.setGaugePosition(0);
    progress.setGaugeMaximum(tableCount > 0 ? tableCount : 1);
    progress.setStatus(phase);
    progress.processMessages();
    int tablesReached = 0;
    run([&](const std::string& line) {
        const std::string table = tableOfLine(line);
        if (!table.empty()) {
            progress.setGaugePosition(++tablesReached);
            progress.setStatus(phase + ": " + table);
        }
        progress.processMessages();
    });
    progress.setGaugePosition(0);
}

}  // namespace

void runStreamedRestore(const Progress& progress, const ServerLogin& login, const std::string& server,
                        const std::vector<char>& request, const std::function<std::string(std::size_t)>& readBytes,
                        const std::string& phase, int tableCount) {
    showService(progress, phase, tableCount, [&](const std::function<void(const std::string&)>& onLine) {
        db::ServiceManager manager(serviceLogin(login, server));
        manager.start(request);
        manager.feed(readBytes, onLine);
    });
}

}  // namespace engine
