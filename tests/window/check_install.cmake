# Installs the build into a scratch prefix and checks that a desktop finds
# the program there: executable, desktop entry, icons, AppStream metadata,
# the last two passing their validators.
# cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -P check_install.cmake

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(desktop ${PREFIX}/share/applications/${APP_ID}.desktop)
set(metainfo ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml)
foreach(path bin/parlavo share/icons/hicolor/scalable/apps/${APP_ID}.svg)
  if(NOT EXISTS ${PREFIX}/${path})
    message(SEND_ERROR "not installed: ${path}")
  endif()
endforeach()
execute_process(COMMAND file -b ${PREFIX}/bin/parlavo OUTPUT_VARIABLE kind)
if(NOT kind MATCHES "^ELF .* executable")
  message(SEND_ERROR "bin/parlavo: ${kind}")
endif()

foreach(size 16 32 48 128 256)
  set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
  execute_process(COMMAND file -b ${png} OUTPUT_VARIABLE kind)
  if(NOT kind MATCHES "^PNG image data, ${size} x ${size}, 8-bit/color RGBA")
    message(SEND_ERROR "${size}x${size} icon: ${kind}")
  endif()
endforeach()

file(STRINGS ${desktop} exec REGEX "^Exec=")
file(STRINGS ${desktop} icon REGEX "^Icon=")
# The window, then its action that translates the selection.
if(NOT exec STREQUAL "Exec=parlavo;Exec=parlavo --selection" OR NOT icon STREQUAL "Icon=${APP_ID}")
  message(SEND_ERROR "desktop entry starts '${exec}' with '${icon}'")
endif()

execute_process(COMMAND desktop-file-validate ${desktop} RESULT_VARIABLE failed)
if(failed)
  message(SEND_ERROR "desktop-file-validate rejects ${desktop}")
endif()
execute_process(COMMAND appstreamcli validate --no-net ${metainfo} RESULT_VARIABLE failed)
if(failed)
  message(SEND_ERROR "appstreamcli rejects ${metainfo}")
endif()
