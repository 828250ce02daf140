#pragma once
// The terminal's encoding: under a UTF-8 locale the texts pelto-cli reads from its
// arguments are UTF-8 and the program's texts are Windows-1252, so they are converted
// both ways; under any other locale (LC_ALL=C) bytes pass unchanged.
#include <optional>
#include <string>

namespace pelto::cli {

// True when the locale from the environment (LC_ALL, LC_CTYPE, LANG) uses UTF-8.
bool TerminalIsUtf8();

// A text typed on the terminal in Windows-1252; no value when it holds a character that
// Windows-1252 cannot write (or bytes that are no UTF-8), with a message naming it.
std::optional<std::string> FromTerminal(const std::string& typed, std::string& problem);

// A Windows-1252 text as the terminal shows it.
std::string ToTerminal(const std::string& text);

} // namespace pelto::cli
