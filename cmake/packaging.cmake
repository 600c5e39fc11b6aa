# Where `cmake --install` puts the programs' companions, and the Debian package (cpack -G DEB).
# The programs themselves are installed by their own folders.

include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(kelvara_packaging ${CMAKE_SOURCE_DIR}/packaging)
# Named after the package, as Debian wants, whatever the project's name.
set(kelvara_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/kelvara)

# udev reads lib/udev/rules.d below /usr and /usr/local alike.
install(FILES ${CMAKE_SOURCE_DIR}/tools/devcon/99-kelvara-usb-serial.rules
        DESTINATION lib/udev/rules.d)

install(FILES ${kelvara_packaging}/kelvara.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${kelvara_packaging}/io.github.kelvara.kelvara.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# kelvara.png is drawn from kelvara.svg: rsvg-convert -w 256 -h 256 kelvara.svg -o kelvara.png
install(FILES ${kelvara_packaging}/kelvara.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${kelvara_packaging}/kelvara.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

# Manual pages and the change log go out compressed, as Debian wants them.
set(kelvara_compressed)
foreach(page kelvara.1 kelvara-cli.1 kelvara-sim.1 kelvara-devcon.1 changelog)
    set(copy ${CMAKE_BINARY_DIR}/packaging/${page})
    add_custom_command(OUTPUT ${copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${kelvara_packaging}/${page} ${copy}
        COMMAND gzip -9nf ${copy}
        DEPENDS ${kelvara_packaging}/${page}
        VERBATIM)
    list(APPEND kelvara_compressed ${copy}.gz)
endforeach()
add_custom_target(kelvara_compressed_docs ALL DEPENDS ${kelvara_compressed})
list(FILTER kelvara_compressed INCLUDE REGEX "\\.1\\.gz$")
install(FILES ${kelvara_compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${kelvara_packaging}/copyright
              ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE
        DESTINATION ${kelvara_docdir})
# The README's links and picture.
install(FILES ${CMAKE_SOURCE_DIR}/docs/devcon.md ${CMAKE_SOURCE_DIR}/docs/window.png
        DESTINATION ${kelvara_docdir}/docs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvara)
set(CPACK_PACKAGE_VENDOR "Kelvara developers")
set(CPACK_PACKAGE_CONTACT "Kelvara developers <dev@kelvara.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service tool for X-ray generator controller boards")
# Debian shows these lines as they stand: under 80 columns each.
set(CPACK_PACKAGE_DESCRIPTION
    "With Kelvara a service technician sets up, drives and watches an X-ray
generator through its controller board on a serial line at 115200 baud (8N1).
It finds the controller on COM1 to COM128, reads and writes the EEPROM
parameters, sets the kV and mA set-points, monitors the output and the status
flags, and resets a hung USB serial adapter.

The package holds the program, kelvara-cli to save, compare and restore the
parameters as files, the controller simulator kelvara-sim, the device
console kelvara-devcon and a udev rule that lets members of the dialout group
reset USB serial adapters.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/kelvara/kelvara")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's captions: Latin in DejaVu Sans, the Japanese ones need a CJK font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${kelvara_packaging}/postinst;${kelvara_packaging}/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
