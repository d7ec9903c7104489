# cmake -DOUTPUT=header -DSIZES="16;32" -DPNG_PATTERN=dir/@SIZE@.png -P embed_icons.cmake
# Writes a header that holds the PNG of each size as bytes, so the program
# loads the icon rendered at build time instead of rendering it at start-up.
set(arrays "")
set(entries "")
foreach(size IN LISTS SIZES)
  string(REPLACE "@SIZE@" "${size}" png "${PNG_PATTERN}")
  file(READ "${png}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "inline constexpr unsigned char APP_ICON_${size}[] = {${bytes}};\n")
  string(APPEND entries "    {APP_ICON_${size}, sizeof APP_ICON_${size}},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "#pragma once

// Generated from res/parlavo.svg at build time; edit the SVG instead.

#include <cstddef>

namespace parlavo {

struct IconPng {
  const unsigned char* data;
  std::size_t size;
};

${arrays}
// Smallest first.
inline constexpr IconPng APP_ICON_PNGS[] = {
${entries}};

}  // namespace parlavo
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
