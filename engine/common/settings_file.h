#pragma once

namespace engine {

// The settings file of both front ends, in the program folder: the two database paths and the
// window's options.
inline constexpr const char* kSettingsFileName = "Config.ini";
inline constexpr const char* kDatabasesSection = "Bancos";
inline constexpr const char* kOrigemKey = "Origem";
inline constexpr const char* kDestinoKey = "Destino";
inline constexpr const char* kOptionsSection = "Opcoes";
inline constexpr const char* kAllOrNothingKey = "Atomico";
inline constexpr const char* kSafetyCopyKey = "CopiaSeguranca";

}  // namespace engine
