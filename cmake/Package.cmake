# `cpack -G DEB` in the build folder makes velmor_<version>_<arch>.deb from what
# `cmake --install` puts in place, under /usr.

# The Debian package holding a library that the programs load themselves on first use
# (platform/linux/LazyLibrary.h): dpkg-shlibdeps reads only the libraries a program is linked
# against, so these are found here, from the file find_library chose.
function(velmor_debian_package library variable)
    set(${variable} "" PARENT_SCOPE)
    find_program(VELMOR_DPKG_QUERY dpkg-query)
    get_filename_component(file "${library}" REALPATH)
    if(VELMOR_DPKG_QUERY)
        execute_process(COMMAND ${VELMOR_DPKG_QUERY} -S "${file}" OUTPUT_VARIABLE owner
                        RESULT_VARIABLE failed ERROR_QUIET)
    endif()
    if(NOT VELMOR_DPKG_QUERY OR failed OR NOT owner MATCHES "^([^:, ]+)")
        message(WARNING "No Debian package holds ${file}: a package would not depend on it")
        return()
    endif()
    set(${variable} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()

velmor_debian_package(${LIBZIP_LIB} VELMOR_LIBZIP_PACKAGE)
velmor_debian_package(${XDO_LIB} VELMOR_LIBXDO_PACKAGE)
set(VELMOR_LOADED_PACKAGES ${VELMOR_LIBZIP_PACKAGE} ${VELMOR_LIBXDO_PACKAGE})
list(JOIN VELMOR_LOADED_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Windows builds of ZSNES and SPCPlay run through Wine; velmor-spcplay plays to a sound server.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine, pulseaudio | pipewire-pulse")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmor)
set(CPACK_PACKAGE_VENDOR "Velmor developers")
set(CPACK_PACKAGE_CONTACT "Velmor developers <velmor@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front-end for the ZSNES emulator and SPC music players")
# The summary above is its first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velmor puts every command-line switch of ZSNES, the Super Nintendo emulator,
into one tabbed window, remembers every choice between runs and starts ZSNES
on a game image, also one packed in a zip archive. It plays SPC music, ZSNES
save states and playlists through a music player (its own velmor-spcplay or
SPCPlay), shows a picture linked to each game and registers its file types
with the desktop. Windows builds of ZSNES and SPCPlay are started through Wine.")
# Emulators and what goes with them; "games" is for programs in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION otherosfs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Control files as dpkg makes them, 0644 whatever the umask (the folders: CMakeLists.txt).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
