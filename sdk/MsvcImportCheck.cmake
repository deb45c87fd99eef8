# Script mode: proves that the MSVC recipe of the SDK makes a working import library,
# with LLVM's MSVC-compatible tools where the build machine has them:
#   the stubs compiled for the MSVC target, lib-style import library from oxrmsg.def and
#   the stubs (lld-link /def), and an image built from a C file that refers to every
#   export through kvt_factory.h must import each name undecorated from oxrmsg.dll.
#
#   cmake -DCLANG= -DLLD_LINK= -DREADOBJ= -DTRIPLE= -DMACHINE= -DINCLUDE= -DSTUBS= -DDEF=
#         -DREFS= -DNAMES= -DWORK= -DSTAMP= -P MsvcImportCheck.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "MSVC import check: ${ARGN} failed:\n${out}${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})
set(flags --target=${TRIPLE} -ffreestanding -fms-compatibility -c)
run(${CLANG} ${flags} ${STUBS} -o ${WORK}/oxrmsg_stubs.obj)
run(${LLD_LINK} /nologo /dll /noentry /nodefaultlib /machine:${MACHINE} /def:${DEF}
    ${WORK}/oxrmsg_stubs.obj /out:${WORK}/oxrmsg.dll /implib:${WORK}/oxrmsg.lib)
run(${CLANG} ${flags} -I${INCLUDE} ${REFS} -o ${WORK}/refs.obj)
run(${LLD_LINK} /nologo /dll /noentry /nodefaultlib /machine:${MACHINE}
    ${WORK}/refs.obj ${WORK}/oxrmsg.lib /out:${WORK}/caller.dll)
run(${READOBJ} --coff-imports ${WORK}/caller.dll)
file(STRINGS ${NAMES} names)
foreach(name ${names})
  if(NOT run_output MATCHES "Symbol: ${name} \\(")
    message(FATAL_ERROR "MSVC import check: the image does not import ${name} by its plain name:\n${run_output}")
  endif()
endforeach()
file(TOUCH ${STAMP})
