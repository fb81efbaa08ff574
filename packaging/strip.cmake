# SPDX-License-Identifier: MIT
# Run by CPack on what it is about to package: strips the programs and the
# static libraries as Debian's dh_strip does, the programs of their symbols
# and of the sections that the running program does not need, the libraries
# of their debugging sections only, but for the entry that has gdb load the
# list's printers (.debug_gdb_scripts).
file(GLOB_RECURSE files ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*)
set(sections --remove-section=.comment --remove-section=.note)
foreach(file ${files})
  if(file MATCHES "/bin/[^/]+$")
    execute_process(COMMAND ${CPACK_LISTAENC_STRIP} ${sections} --strip-unneeded ${file}
                    COMMAND_ERROR_IS_FATAL ANY)
  elseif(file MATCHES "\\.a$")
    execute_process(COMMAND ${CPACK_LISTAENC_STRIP} ${sections} --strip-debug
                            --keep-section=.debug_gdb_scripts --enable-deterministic-archives
                            ${file} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
