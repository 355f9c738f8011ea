#include "database_error.h"
#include "locale_text.h"
#include "statement.h"
#include "table_imports.h"
#include "text_rules.h"

namespace engine {

namespace {

LookupCache::CityAnswer askCity(RunState& run, const std::string& name) {
    try {
        // A statement of its own for each lookup, in the destination's default transaction;
        // leaving this block destroys it, whatever happened.
        db::Statement lookup("", run.session.IBDatabaseDestino, *run.session.IBDatabaseDestino.defaultTransaction());
        lookup.addLine("SELECT CID_CODMUNICIPIO FROM CIDADE");
        lookup.addLine("WHERE CID_NOME=" + sqlStringLiteral(localeUpperCase(name)));
        lookup.open();
        if (lookup.isEmpty()) return {};
        return {lookup.column("CID_CODMUNICIPIO").asInteger(), std::nullopt};
    } catch (const db::DatabaseError& failure) {
        return {0, "Erro no retorno do CÓDIGO DE CIDADE Cód. IBGE  " + name + "\r\n" + failure.text() + "\r\n"};
    }
}

}  // namespace

std::int32_t RetornaCodigoCidade(RunState& run, const std::string& name) {
    const LookupCache::CityAnswer* answer = run.lookups.city(name);
    LookupCache::CityAnswer asked;
    if (answer == nullptr) {
        asked = askCity(run, name);
        run.lookups.rememberCity(name, asked);
        answer = &asked;
    }
    if (answer->failureEntry) run.LogErros.push_back(*answer->failureEntry);
    return answer->code;
}

}  // namespace engine
