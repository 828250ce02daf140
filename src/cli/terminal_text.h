#pragma once
// The terminal's encoding: under a UTF-8 locale the texts pelto-cli reads from its
// arguments and prints are UTF-8, as the program holds them; under any other locale
// (LC_ALL=C) the terminal's bytes are Windows-1252 both ways.
#include <optional>
#include <string>

namespace pelto::cli {

// True when the locale from the environment (LC_ALL, LC_CTYPE, LANG) uses UTF-8.
bool TerminalIsUtf8();

// A text typed on the terminal as the program's UTF-8; no value when a UTF-8 terminal
// gave bytes that are no UTF-8, with a message naming where.
std::optional<std::string> FromTerminal(const std::string& typed, std::string& problem);

// A text of the program as the terminal shows it (under a locale that is not UTF-8 a
// character Windows-1252 cannot write shows as "?").
std::string ToTerminal(const std::string& text);

} // namespace pelto::cli
