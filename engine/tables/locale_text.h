#pragma once

#include <string>

namespace engine {

// The text in capitals as the machine's locale writes them: accented letters become
// accented capitals ("São Paulo" gives "SÃO PAULO").
std::string localeUpperCase(const std::string& text);

}  // namespace engine
