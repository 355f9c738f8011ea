#include "destination_sequences.h"

#include <string>

namespace engine {

std::vector<std::function<RowMapping(RunState&)>> chosenMappings(const TableChoice& tables) {
    std::vector<std::function<RowMapping(RunState&)>> mappings;
    if (tables(CheckBox::Clientes)) mappings.push_back(clientesMapping);
    if (tables(CheckBox::Fornec)) mappings.push_back(fornecedoresMapping);
    if (tables(CheckBox::Produtos)) {
        mappings.push_back(gruposMapping);
        mappings.push_back(produtosMapping);
    }
    if (tables(CheckBox::Vendedores)) mappings.push_back(vendedoresMapping);
    return mappings;
}

std::optional<long long> sequenceValue(ImportSession& session, std::string_view sequence) {
    return readDestinationNumber(session, "SELECT GEN_ID(" + std::string(sequence) + ", 0) FROM RDB$DATABASE");
}

std::optional<long long> highestKey(ImportSession& session, const RowMapping& mapping) {
    return readDestinationNumber(session, "SELECT MAX(" + std::string(mapping.columns.front().declaration.name) +
                                              ") FROM " + std::string(mapping.destinationTable));
}

}  // namespace engine
