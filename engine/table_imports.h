#pragma once

#include <cstdint>
#include <string>

#include "import_context.h"

namespace engine {

// The five table imports of an import run; each reports its failures itself.
void ImportaClientes(ImportContext& context);
void ImportaFornecedores(ImportContext& context);
void ImportaGrupos(ImportContext& context);
void ImportaProdutos(ImportContext& context);
void ImportaVendedores(ImportContext& context);

// The municipal code of the destination city of that name, or 0; logs its own failures, once
// for each call, also when the failure is remembered from an earlier call of the run.
std::int32_t RetornaCodigoCidade(ImportContext& context, const std::string& name);
// The CEST code stored in the source for the identifier, or 0; failures reach the caller.
// Each identifier is asked of the source once per run.
std::int32_t RetornaCodigoCEST(ImportContext& context, const std::string& identifier);

}  // namespace engine
