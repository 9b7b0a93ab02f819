# Writes the desktop entry of an installed Velmor, run by `cmake --install`. Its Exec names the
# installed program by its full path, so the entry works whether or not bin/ is on PATH; the
# path is quoted and escaped as desktop entries require when it holds a blank or another
# reserved character.
set(program "${CMAKE_INSTALL_PREFIX}/${VELMOR_INSTALL_BINDIR}/velmor")
set(exec "${program}")
if(exec MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" exec "${exec}")
# The value escapes apply before the quoting is read.
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "\t" "\\t" exec "${exec}")
string(REPLACE "\n" "\\n" exec "${exec}")

set(entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${VELMOR_INSTALL_DATADIR}/applications/velmor.desktop")
message(STATUS "Installing: ${entry}")
file(WRITE "${entry}" "[Desktop Entry]
Type=Application
Name=Velmor
GenericName=Super Nintendo Front-End
Comment=Start Super Nintendo games in ZSNES and play their music with SPCPlay
Icon=velmor
Exec=${exec} %f
Terminal=false
Categories=Game;Emulator;
Keywords=SNES;ZSNES;emulator;SPC;music;playlist;
")
