#include "table_writer.h"

namespace engine {

namespace {

// The columns of GRUPO as the product group import knows them, in declaration order.
constexpr FieldDeclaration kFields[] = {
    {.name = "ID_GRUPO", .kind = FieldKind::Integer, .required = true},
    {.name = "NOME_GRUPO", .kind = FieldKind::Text, .length = 30},
    {.name = "USA_MARGEM", .kind = FieldKind::Text, .length = 1},
    {.name = "MARGEM", .kind = FieldKind::Decimal, .scale = 2},
};

}  // namespace

constinit const TableDeclaration kGrupoDeclaration{
    .table = "GRUPO",
    .fields = kFields,
    .insertSql =
        "insert into GRUPO (ID_GRUPO, MARGEM, NOME_GRUPO, USA_MARGEM) "
        "values (:ID_GRUPO, :MARGEM, :NOME_GRUPO, :USA_MARGEM)",
    .refreshSql = "Select ID_GRUPO, NOME_GRUPO, USA_MARGEM, MARGEM from GRUPO where ID_GRUPO = :ID_GRUPO",
};

}  // namespace engine
