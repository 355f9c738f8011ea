#include "box_texts.h"

namespace engine {

std::string errorBoxText(std::string_view failureText) {
    std::string text(failureText);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    return text;
}

}  // namespace engine
