#include "database_identity.h"

#include "codepage.h"
#include "statement.h"

namespace db {

std::string serverFileName(Attachment& attachment, Transaction& transaction) {
    // As octets the name reaches the client byte for byte: the destination's character set
    // would otherwise transliterate it and two attachments could spell one name differently.
    Statement query("NomeDoArquivoNoServidor", attachment, transaction);
    query.setText("SELECT CAST(MON$DATABASE_NAME AS VARCHAR(255) CHARACTER SET OCTETS) FROM MON$DATABASE");
    query.open();
    std::string name = toCodePage(query.column(std::size_t{0}).asText());
    query.close();
    return name;
}

}  // namespace db
