#include "statement.h"
#include "table_imports.h"
#include "text_rules.h"

namespace engine {

std::int32_t RetornaCodigoCEST(ImportContext& context, const std::string& identifier) {
    // The source lookup query stays open on its result until the next lookup closes it.
    db::Statement& lookup = context.IBQueryOrigem_Temp;
    lookup.close();
    lookup.clearText();
    lookup.addLine("SELECT CODIGO FROM CEST");
    lookup.addLine("WHERE ID = " + sqlStringLiteral(identifier));
    lookup.open();
    if (lookup.isEmpty()) return 0;
    return lookup.column("CODIGO").asInteger();
}

}  // namespace engine
