# Script mode: the module definition of a 32-bit DLL whose exports are __stdcall
# functions, with each name's "@<argument bytes>".
#
#   cmake -DNM=<nm> -DOBJECTS=<object,...> -DNAMES=<name,...> -DDLL=<file name>
#         -DOUT=<def> -P DecoratedDefinition.cmake
#
# Each name is looked up among the symbols the objects define ("T _k2pInitialize@0").
# `dlltool -k` makes from it the import library that binds callers' "_k2pInitialize@0"
# references to the undecorated export "k2pInitialize"; the linker's own import library
# from a .def of plain names has no decorated names, and no 32-bit __stdcall caller
# links against it. A name the objects do not define is an error.
string(REPLACE "," ";" objects "${OBJECTS}")
string(REPLACE "," ";" names "${NAMES}")
execute_process(COMMAND ${NM} -g --defined-only ${objects}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${objects}")
endif()
string(REPLACE "\n" ";" symbols "${symbols}")

set(def "; Exports of ${DLL} with their argument bytes, for dlltool -k. Generated.\n")
string(APPEND def "LIBRARY ${DLL}\nEXPORTS\n")
foreach(name ${names})
  set(found "")
  foreach(line ${symbols})
    if(line MATCHES " T _(${name}@[0-9]+)$")
      set(found ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(found STREQUAL "")
    message(FATAL_ERROR "${DLL}: no __stdcall function ${name} is defined")
  endif()
  string(APPEND def "  ${found}\n")
endforeach()
file(WRITE ${OUT} "${def}")
