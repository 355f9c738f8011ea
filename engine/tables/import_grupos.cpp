#include "table_import.h"
#include "table_imports.h"
#include "text.h"

namespace engine {

// Product groups: GRUPOS into GRUPO. No count query, nothing done for an empty source, and no
// window messages between rows.
void ImportaGrupos(RunState& run) {
    db::Statement& origem = run.session.IBQueryOrigem;
    TableWriter& grupos = run.session.IBDS_Grupos;
    WriterField& idGrupo = grupos.fieldByName("ID_GRUPO");
    WriterField& nomeGrupo = grupos.fieldByName("NOME_GRUPO");
    WriterField& usaMargem = grupos.fieldByName("USA_MARGEM");
    WriterField& margem = grupos.fieldByName("MARGEM");

    TableImport table;
    table.destinationTable = "GRUPO";
    table.sourceQuery = "SELECT * FROM GRUPOS";
    table.status = "Importando Grupos";
    table.deleteStatement = "DELETE FROM GRUPO";
    table.failureMessage = "Falha na importação da tabela de Grupos , Falha: ";
    table.keyColumn = "ID_GRUPO";
    table.sequence = "GEN_ID_GRUPO";
    table.stopWhenSourceEmpty = true;
    table.afterRow = AfterRow::NextOnly;
    table.prepareWriting = [&](std::size_t mostRowsPerBlock) {
        if (!grupos.isOpen()) grupos.open();
        grupos.postInBlocks(mostRowsPerBlock);
        return grupos.blocks();
    };
    table.fillRow = [&] {
        grupos.startNewRow();
        idGrupo.setInteger(origem.column("ID").asInteger());
        nomeGrupo.setText(db::firstCharacters(origem.column("DESCRICAO").asText(), 30));
        usaMargem.setText("N");
        margem.setDouble(0.0);
    };
    table.writeRow = [&] { grupos.post(); };
    table.refusal = [&] {
        std::string id = origem.column("ID").asText();
        return RowRefusal{
            id, [&run, id](const std::string& failure) {
                run.LogErros.push_back("Erro na importação de GRUPO no Registro " + id + "\r\n" + failure + "\r\n");
            }};
    };
    table.sequenceRestart = [&](bool) -> std::optional<SequenceRestart> {
        return SequenceRestart{"GEN_ID_GRUPO", idGrupo.asText()};
    };
    importTable(run, table);
}

}  // namespace engine
