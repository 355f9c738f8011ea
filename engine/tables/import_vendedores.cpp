#include <memory>

#include "block_insert.h"
#include "table_import.h"
#include "table_imports.h"

namespace engine {

namespace {

constexpr const char* kInsertVendedor =
    " INSERT INTO VENDEDOR  (VEN_CODIGO, VEN_NOME, SUP_CODIGO,VEN_EXPORTATABLET) VALUES  "
    "(:VEN_CODIGO,:VEN_NOME, 1,:VEN_EXPORTATABLET)";

}  // namespace

// Sellers: VENDEDOR into VENDEDOR through a parameterised INSERT on the destination command,
// prepared once and executed per row, or queued in blocks. No count query and no sequence.
void ImportaVendedores(RunState& run) {
    db::Statement& origem = run.session.IBQueryOrigem;
    db::Statement& destino = run.session.IBQueryFireBird;

    TableImport table;
    table.destinationTable = "VENDEDOR";
    table.sourceQuery = "SELECT * FROM VENDEDOR";
    table.status = "Importando Vendedores";
    table.deleteStatement = " DELETE FROM VENDEDOR ";
    table.failureMessage = "Falha na importação da tabela de Vendedores, Falha: ";
    table.keyColumn = "VEN_CODIGO";
    std::unique_ptr<BlockInsert> blocks;
    table.prepareWriting = [&](std::size_t mostRowsPerBlock) {
        destino.close();
        destino.setText(kInsertVendedor);
        destino.prepare();
        if (mostRowsPerBlock > 0) blocks = std::make_unique<BlockInsert>(destino, "VENDEDOR", mostRowsPerBlock);
        return blocks.get();
    };
    table.fillRow = [&] {
        destino.param("VEN_CODIGO").setInteger(origem.column("ID").asInteger());
        destino.param("VEN_NOME").setText(origem.column("NOME").asText());
        destino.param("VEN_EXPORTATABLET").setText("S");
    };
    table.writeRow = [&] {
        if (blocks) {
            blocks->queue();
        } else {
            destino.execute();
        }
    };
    table.refusal = [&] {
        std::string id = std::to_string(origem.column("ID").asInteger());
        return RowRefusal{
            id, [&run, id](const std::string& failure) {
                run.LogErros.push_back("Erro na importação de VENDEDOR no Registro " + id + "\r\n" + failure + "\r\n");
            }};
    };
    table.sequenceRestart = [](bool) -> std::optional<SequenceRestart> { return std::nullopt; };
    importTable(run, table);
}

}  // namespace engine
