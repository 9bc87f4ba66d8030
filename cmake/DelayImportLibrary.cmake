# Makes a delay-import library from a MinGW import library: the same
# functions of the same DLL, bound by MinGW's delay-load helper at the first
# call instead of by Windows when the program starts, and the library's other
# members (data such as GDI+'s GUIDs) as they are.
#   cmake -DNM=<nm> -DAR=<ar> -DDLLTOOL=<dlltool> -DIMPORT_LIBRARY=<libfoo.a>
#         -DDLL=<foo.dll> -DOUTPUT=<lib.a> -DDECORATED=<ON|OFF> -P DelayImportLibrary.cmake
# DECORATED: 32-bit x86, where C symbols carry a leading underscore and
# __stdcall ones an @<bytes> suffix that the DLL's export names lack.
execute_process(COMMAND ${NM} -A ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
# Each function has an import-address symbol "__imp_<symbol>".
string(REGEX MATCHALL " I __imp_[^\r\n]+" imports "${symbols}")
# Members of the import machinery define import symbols (" I "): the
# functions, the DLL's name and the table's head and tail.
string(REGEX MATCHALL ":[^:\r\n]+:[0-9a-f]+ I " import_members "${symbols}")
list(TRANSFORM import_members REPLACE ":([^:]+):.*" "\\1")
set(definitions "LIBRARY ${DLL}\nEXPORTS\n")
foreach(import IN LISTS imports)
  string(REGEX REPLACE "^ I __imp_" "" symbol "${import}")
  if(DECORATED)
    string(REGEX REPLACE "^_" "" symbol "${symbol}")
  endif()
  string(APPEND definitions "${symbol}\n")
endforeach()
if(NOT imports)
  message(FATAL_ERROR "${IMPORT_LIBRARY} names no function")
endif()
file(WRITE ${OUTPUT}.def "${definitions}")

set(options)
if(DECORATED)
  list(APPEND options --kill-at)
endif()
execute_process(COMMAND ${DLLTOOL} ${options} --input-def ${OUTPUT}.def --dllname ${DLL} --output-delaylib ${OUTPUT}
  COMMAND_ERROR_IS_FATAL ANY)

execute_process(COMMAND ${AR} t ${IMPORT_LIBRARY} OUTPUT_VARIABLE members COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[^\r\n]+" members "${members}")
list(REMOVE_ITEM members ${import_members})
if(members)
  set(extracted ${OUTPUT}.members)
  file(REMOVE_RECURSE ${extracted})
  file(MAKE_DIRECTORY ${extracted})
  execute_process(COMMAND ${AR} x ${IMPORT_LIBRARY} ${members} WORKING_DIRECTORY ${extracted} COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${AR} rs ${OUTPUT} ${members} WORKING_DIRECTORY ${extracted} COMMAND_ERROR_IS_FATAL ANY)
endif()
