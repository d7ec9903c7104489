# `cpack -G DEB` in the build directory packs everything `cmake --install`
# installs. The package's library dependencies are computed from the
# binaries by dpkg-shlibdeps rather than listed by hand.

set(CPACK_PACKAGE_NAME parlavo)
# All four parts; CPack would drop the last one.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "柯岚")
set(CPACK_PACKAGE_CONTACT "柯岚 <parlavo@parlavo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Small Chinese/English desktop translator (帕拉沃)")
set(CPACK_PACKAGE_DESCRIPTION "帕拉沃 translates a typed or pasted text into Chinese or English; \
the translation service detects the source language.")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://${PARLAVO_MAKER_HOST}")
# The systemd unit names the executable by its installed path, so the
# package installs where the build was configured to (scripts/package: /usr).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# No library pulls in a font, yet every text of the window is Chinese:
# without a Simplified Chinese font a fresh system shows only empty boxes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei")

set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/res/debian/postinst ${PROJECT_SOURCE_DIR}/res/debian/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
