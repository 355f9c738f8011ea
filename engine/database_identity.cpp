#include "database_identity.h"

#include "statement.h"
#include "text.h"

namespace engine {

std::string serverFileName(db::Attachment& attachment, db::Transaction& transaction) {
    db::Statement query("NomeDoBanco", attachment, transaction);
    query.setText("SELECT MON$DATABASE_NAME FROM MON$DATABASE");
    query.open();
    return db::trimBlanks(query.column(std::size_t{0}).asText());
}

}  // namespace engine
