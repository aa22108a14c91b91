# Run by `cmake --install` once the prefix is known: writes the launcher and the desktop
# entry with the installed paths in them and installs both. (Given BOXWRIGHT_BINDIR,
# BOXWRIGHT_DATADIR, BOXWRIGHT_TEMPLATES and BOXWRIGHT_STAGING by the install rules.)
cmake_path(APPEND CMAKE_INSTALL_PREFIX "${BOXWRIGHT_BINDIR}" OUTPUT_VARIABLE bindir)
cmake_path(APPEND CMAKE_INSTALL_PREFIX "${BOXWRIGHT_DATADIR}" "applications" OUTPUT_VARIABLE applications)

# The program's path inside the launcher's single quotes.
string(REPLACE "'" "'\\''" BOXWRIGHT_PROGRAM "${bindir}/boxwright")

# The launcher's path as the entry's one Exec argument: quoted, with the characters the
# entry format reserves inside quotes escaped, then the value's own backslashes doubled.
set(exec "${bindir}/boxwright-desktop")
string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
string(REPLACE "\"" "\\\\\"" exec "${exec}")
string(REPLACE "`" "\\\\`" exec "${exec}")
string(REPLACE "$" "\\\\$" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(BOXWRIGHT_DESKTOP_EXEC "\"${exec}\"")

# Installs into several prefixes may run at once from one build folder.
string(SHA1 install_id "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(staging "${BOXWRIGHT_STAGING}/${install_id}")
configure_file("${BOXWRIGHT_TEMPLATES}/boxwright-desktop.in" "${staging}/boxwright-desktop" @ONLY)
configure_file("${BOXWRIGHT_TEMPLATES}/boxwright.desktop.in" "${staging}/boxwright.desktop" @ONLY)
file(INSTALL DESTINATION "${bindir}" TYPE PROGRAM FILES "${staging}/boxwright-desktop")
file(INSTALL DESTINATION "${applications}" TYPE FILE FILES "${staging}/boxwright.desktop")
