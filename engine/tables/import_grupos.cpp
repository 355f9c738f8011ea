#include "row_mapping.h"
#include "table_import.h"
#include "table_imports.h"
#include "text.h"

namespace engine {

RowMapping gruposMapping(RunState& run) {
    const db::Statement& origem = run.session.IBQueryOrigem;
    TableWriter& grupos = run.session.IBDS_Grupos;
    WriterField& idGrupo = grupos.fieldByName("ID_GRUPO");
    WriterField& nomeGrupo = grupos.fieldByName("NOME_GRUPO");
    WriterField& usaMargem = grupos.fieldByName("USA_MARGEM");
    WriterField& margem = grupos.fieldByName("MARGEM");

    RowMapping mapping;
    mapping.sourceTable = "GRUPOS";
    mapping.sourceKey = "ID";
    mapping.destinationTable = "GRUPO";
    mapping.sequence = "GEN_ID_GRUPO";
    mapping.prepare = [&grupos] {
        if (!grupos.isOpen()) grupos.open();
    };
    mapping.prepareChecks = [&grupos] {
        if (!grupos.isOpen()) grupos.openForChecks();
    };
    mapping.fill = [&] {
        grupos.startNewRow();
        idGrupo.setInteger(origem.column("ID").asInteger());
        nomeGrupo.setFirstCharacters(origem.column("DESCRICAO").asText(), 30);
        usaMargem.setText("N");
        margem.setDouble(0.0);
    };
    mapping.refusal = [&grupos] { return writerRefusal(grupos); };
    mapping.columns = {mappedColumn(idGrupo), mappedColumn(nomeGrupo), mappedColumn(usaMargem), mappedColumn(margem)};
    return mapping;
}

// Product groups: GRUPOS into GRUPO. No count query, nothing done for an empty source, and no
// window messages between rows.
void ImportaGrupos(RunState& run) {
    db::Statement& origem = run.session.IBQueryOrigem;
    TableWriter& grupos = run.session.IBDS_Grupos;
    const WriterField& idGrupo = grupos.fieldByName("ID_GRUPO");
    const RowMapping mapping = gruposMapping(run);

    TableImport table;
    table.destinationTable = mapping.destinationTable;
    table.sourceQuery = "SELECT * FROM GRUPOS";
    table.status = "Importando Grupos";
    table.deleteStatement = "DELETE FROM GRUPO";
    table.failureMessage = "Falha na importação da tabela de Grupos , Falha: ";
    table.keyColumn = mapping.columns.front().declaration.name;
    table.sequence = mapping.sequence;
    table.stopWhenSourceEmpty = true;
    table.afterRow = AfterRow::NextOnly;
    table.prepareWriting = [&](std::size_t mostRowsPerBlock) {
        mapping.prepare();
        grupos.postInBlocks(mostRowsPerBlock);
        return grupos.blocks();
    };
    table.fillRow = mapping.fill;
    table.writeRow = [&] { grupos.post(); };
    table.refusal = [&] {
        std::string id = origem.column("ID").asText();
        return RowRefusal{
            id, [&run, id](const std::string& failure) {
                run.LogErros.push_back("Erro na importação de GRUPO no Registro " + id + "\r\n" + failure + "\r\n");
            }};
    };
    table.sequenceRestart = [&](bool) -> std::optional<SequenceRestart> {
        return SequenceRestart{std::string(mapping.sequence), idGrupo.asText()};
    };
    importTable(run, table);
}

}  // namespace engine
