# Writes a linker version script that exports exactly the names listed one per line in LIST and
# keeps everything else local. Run as a build step (cmake -P), so that a changed list takes effect
# on the next build. Usage: cmake -DLIST=names.txt -DOUTPUT=lib.map -P WriteVersionScript.cmake
file(STRINGS "${LIST}" names REGEX "^[A-Za-z_][A-Za-z0-9_]*$")
list(JOIN names ";\n        " globals)
set(script "{\n    global:\n        ${globals};\n    local: *;\n};\n")
# Rewritten only when it changes, so that an untouched list does not relink the library.
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
endif()
if(NOT script STREQUAL previous)
    file(WRITE "${OUTPUT}" "${script}")
endif()
