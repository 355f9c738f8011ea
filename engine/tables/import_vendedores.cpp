#include "table_import.h"
#include "table_imports.h"

namespace engine {

namespace {

constexpr const char* kInsertVendedor =
    " INSERT INTO VENDEDOR  (VEN_CODIGO, VEN_NOME, SUP_CODIGO,VEN_EXPORTATABLET) VALUES  "
    "(:VEN_CODIGO,:VEN_NOME, 1,:VEN_EXPORTATABLET)";

}  // namespace

// Sellers: VENDEDOR into VENDEDOR through a parameterised INSERT on the destination command,
// prepared once and executed per row. No count query and no sequence.
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
    table.prepareWriting = [&] {
        destino.close();
        destino.setText(kInsertVendedor);
        destino.prepare();
    };
    table.fillRow = [&] {
        destino.param("VEN_CODIGO").setInteger(origem.column("ID").asInteger());
        destino.param("VEN_NOME").setText(origem.column("NOME").asText());
        destino.param("VEN_EXPORTATABLET").setText("S");
    };
    table.writeRow = [&] { destino.execute(); };
    table.logFailure = [&](const std::string& failure) {
        run.LogErros.push_back("Erro na importação de VENDEDOR no Registro " +
                               std::to_string(origem.column("ID").asInteger()) + "\r\n" + failure + "\r\n");
    };
    table.rowKey = [&] { return std::to_string(origem.column("ID").asInteger()); };
    table.sequenceRestart = [](bool) -> std::optional<SequenceRestart> { return std::nullopt; };
    importTable(run, table);
}

}  // namespace engine
