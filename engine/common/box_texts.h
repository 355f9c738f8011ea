#pragma once

#include <string>
#include <string_view>

namespace engine {

// The captions and texts of the program's message boxes, shared by the window and by the
// batch front end, which prints the boxes on the terminal.

// The application title: the caption of the plain box and of the error box.
inline constexpr std::string_view kApplicationTitle = "Importação do Tavlo para Merak";
inline constexpr std::string_view kCaptionAviso = "A V I S O";
inline constexpr std::string_view kCaptionAtencao = "A T E N Ç Ã O";
inline constexpr std::string_view kCaptionConfirmacao = "C O N F I R M A Ç Ã O";

// The failure text as the error box shows it: a full stop is added when the last character
// has a higher code than the full stop (a letter or a digit, not a blank, a line break, a
// closing parenthesis or a full stop).
std::string errorBoxText(std::string_view failureText);

}  // namespace engine
