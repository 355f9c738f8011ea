#include "database_identity.h"

#include "codepage.h"
#include "statement.h"

namespace engine {

std::string serverFileName(db::Attachment& attachment, db::Transaction& transaction) {
    // As octets the name reaches the client byte for byte: the destination's character set
    // would otherwise transliterate it and two attachments could spell one name differently.
    db::Statement query("NomeDoArquivoNoServidor", attachment, transaction);
    query.setText("SELECT CAST(MON$DATABASE_NAME AS VARCHAR(255) CHARACTER SET OCTETS) FROM MON$DATABASE");
    query.open();
    std::string name = db::toCodePage(query.column(std::size_t{0}).asText());
    query.close();
    return name;
}

}  // namespace engine
