#include "statement.h"
#include "table_imports.h"
#include "text_rules.h"

namespace engine {

std::int32_t RetornaCodigoCEST(RunState& run, const std::string& identifier) {
    if (const std::int32_t* known = run.lookups.cest(identifier)) return *known;
    // The source lookup query stays open on its result until the next lookup closes it.
    db::Statement& lookup = run.session.IBQueryOrigem_Temp;
    lookup.close();
    lookup.clearText();
    lookup.addLine("SELECT CODIGO FROM CEST");
    lookup.addLine("WHERE ID = " + sqlStringLiteral(identifier));
    lookup.open();
    const std::int32_t code = lookup.isEmpty() ? 0 : lookup.column("CODIGO").asInteger();
    run.lookups.rememberCest(identifier, code);
    return code;
}

}  // namespace engine
