#include "database_error.h"
#include "locale_text.h"
#include "statement.h"
#include "table_imports.h"
#include "text_rules.h"

namespace engine {

std::int32_t RetornaCodigoCidade(ImportContext& context, const std::string& name) {
    try {
        // A statement of its own for each lookup, in the destination's default transaction;
        // leaving this block destroys it, whatever happened.
        db::Statement lookup("", context.IBDatabaseDestino, *context.IBDatabaseDestino.defaultTransaction());
        lookup.addLine("SELECT CID_CODMUNICIPIO FROM CIDADE");
        lookup.addLine("WHERE CID_NOME=" + sqlStringLiteral(localeUpperCase(name)));
        lookup.open();
        if (lookup.isEmpty()) return 0;
        return lookup.column("CID_CODMUNICIPIO").asInteger();
    } catch (const db::DatabaseError& failure) {
        context.LogErros.push_back("Erro no retorno do CÓDIGO DE CIDADE Cód. IBGE  " + name + "\r\n" + failure.text() +
                                   "\r\n");
        return 0;
    }
}

}  // namespace engine
