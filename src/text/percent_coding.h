#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace parlavo {

// Every byte as "%xx", lowercase ("中" -> "%e4%b8%ad"): the client's form.
std::string PercentEncodeEveryByte(std::string_view bytes);

// RFC 3986 unreserved characters as they are, every other byte as "%XX".
std::string PercentEncodeReserved(std::string_view bytes);

// Decodes %XX escapes (either case) and '+' as a blank; nullopt for a
// malformed escape.
std::optional<std::string> PercentDecode(std::string_view text);

}  // namespace parlavo
