# Script mode: the module definitions of oxrmsg.dll for the import libraries.
#
#   cmake -DNM=<nm> -DOBJECT=<object> -DNAMES=<file> -DDLL=<dll name>
#         -DOUT=<def for dlltool> -DMSVC_DEF=<def for MSVC> -DSTUBS=<C file> -P ImportDefinition.cmake
#
# OBJECT was compiled from the public header and refers to every export; its undefined
# symbols carry the decoration the compiler gives each declaration
# ("_KVT_MonitorChangeBank@4" for a 32-bit __stdcall function). NAMES lists the
# library's exports, one per line. A name the object does not refer to is an error: the
# header does not declare it.
#
# OUT lists the names with their "@n" for dlltool -k, which binds "_Name@n" references to
# the undecorated export "Name". MSVC's lib cannot learn the "@n" from a .def alone, so
# MSVC_DEF lists the plain names and STUBS defines one empty function of the same
# decoration per name: `lib /def:oxrmsg.def oxrmsg_stubs.obj` matches each plain name to
# its decorated stub and writes an import library that binds "_Name@n" to "Name".
execute_process(COMMAND ${NM} -u ${OBJECT} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} -u ${OBJECT} failed")
endif()
string(REPLACE "\n" ";" symbols "${symbols}")
file(STRINGS ${NAMES} names)

set(def "; Exports of ${DLL} with their argument bytes, for dlltool -k. Generated.\n")
string(APPEND def "LIBRARY \"${DLL}\"\nEXPORTS\n")
set(msvc_def "; Exports of ${DLL} (kvt_factory.h), for MSVC's lib with oxrmsg_stubs.obj:\n")
string(APPEND msvc_def ";   cl /nologo /c oxrmsg_stubs.c\n")
string(APPEND msvc_def ";   lib /nologo /def:oxrmsg.def oxrmsg_stubs.obj /machine:x86 /out:oxrmsg.lib\n")
string(APPEND msvc_def "; (/machine:x64 for the 64-bit library). Generated.\n")
string(APPEND msvc_def "LIBRARY \"${DLL}\"\nEXPORTS\n")
set(stubs "/*\n * Stand-ins for the exports of ${DLL}, for MSVC's lib tool only: compiled, they\n")
string(APPEND stubs " * give lib the decorated name of each export of oxrmsg.def (see there). They do\n")
string(APPEND stubs " * nothing; never link them into a program. Generated.\n */\n")
foreach(name ${names})
  set(found "")
  set(bytes "")
  foreach(line ${symbols})
    # "         U _KVT_MonitorChangeBank@4" (i686) or "         U KVT_MonitorChangeBank"
    if(line MATCHES "U _?(${name})(@([0-9]+))?$")
      set(found ${CMAKE_MATCH_1}${CMAKE_MATCH_2})
      set(bytes "${CMAKE_MATCH_3}")
    endif()
  endforeach()
  if(found STREQUAL "")
    message(FATAL_ERROR "kvt_factory.h does not declare ${name}, which ${DLL} exports")
  endif()
  string(APPEND def "    ${found}\n")
  string(APPEND msvc_def "    ${name}\n")
  # 32-bit: one 4-byte argument per 4 bytes of the decoration; 64-bit names carry none.
  set(parameters "void")
  set(uses "")
  if(NOT bytes STREQUAL "" AND NOT bytes STREQUAL "0")
    math(EXPR last "${bytes} / 4 - 1")
    set(parameters "")
    foreach(i RANGE ${last})
      if(NOT parameters STREQUAL "")
        string(APPEND parameters ", ")
      endif()
      string(APPEND parameters "unsigned long a${i}")
      string(APPEND uses " (void)a${i};")
    endforeach()
  endif()
  string(APPEND stubs "unsigned long __stdcall ${name}(${parameters}) {${uses} return 0; }\n")
endforeach()
file(WRITE ${OUT} "${def}")
file(WRITE ${MSVC_DEF} "${msvc_def}")
file(WRITE ${STUBS} "${stubs}")
