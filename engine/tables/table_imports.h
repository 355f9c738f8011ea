#pragma once

#include <cstdint>
#include <string>

#include "run_state.h"

namespace engine {

// The five table imports of an import run; each reports its failures itself.
void ImportaClientes(RunState& run);
void ImportaFornecedores(RunState& run);
void ImportaGrupos(RunState& run);
void ImportaProdutos(RunState& run);
void ImportaVendedores(RunState& run);

// The municipal code of the destination city of that name, or 0; logs its own failures, once
// for each call, also when the failure is remembered from an earlier call of the run.
std::int32_t RetornaCodigoCidade(RunState& run, const std::string& name);
// The CEST code stored in the source for the identifier, or 0; failures reach the caller.
// Each identifier is asked of the source once per run.
std::int32_t RetornaCodigoCEST(RunState& run, const std::string& identifier);

}  // namespace engine
