#pragma once

#include <string>
#include <string_view>

namespace engine {

// The characters "0" to "9" of the text, in their order; every other character is dropped.
std::string SoNumeros(std::string_view text);

// The text as an SQL string literal: enclosed in single quotes, each single quote inside
// doubled. The two lookups write their key into the SQL text this way.
std::string sqlStringLiteral(std::string_view text);

}  // namespace engine
