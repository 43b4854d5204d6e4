# Checks that a build of the plug-in exports exactly its seven functions, and that the Windows
# DLL needs no DLL but the system's.
#   cmake -DKIND=elf|pe -DLIBRARY=<file> -P check_exports.cmake
set(expected PrecompCodec PrecompFree PrecompInit PrecompProcess PrecompRestore PrecompScan1
             PrecompScan2)
if(NOT EXISTS "${LIBRARY}")
  message(FATAL_ERROR "missing: ${LIBRARY}")
endif()

if(KIND STREQUAL "elf")
  execute_process(COMMAND nm -D --defined-only "${LIBRARY}" OUTPUT_VARIABLE out
                  RESULT_VARIABLE rc)
  string(REGEX MATCHALL "[^\n]+" lines "${out}")
  set(names)
  foreach(line ${lines})
    string(REGEX REPLACE "^.* " "" name "${line}")
    list(APPEND names "${name}")
  endforeach()
else()
  execute_process(COMMAND x86_64-w64-mingw32-objdump -p "${LIBRARY}" OUTPUT_VARIABLE out
                  RESULT_VARIABLE rc)
  # Export names are listed after the name pointer table's heading, as "[   n] Name".
  string(REGEX REPLACE "^.*\\[Ordinal/Name Pointer\\] Table[^\n]*\n" "" exports "${out}")
  string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [A-Za-z0-9_@]+" entries "${exports}")
  set(names)
  foreach(entry ${entries})
    string(REGEX REPLACE "^.*\\] " "" name "${entry}")
    list(APPEND names "${name}")
  endforeach()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${out}")
  foreach(import ${imports})
    string(REGEX REPLACE "^DLL Name: " "" dll "${import}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll MATCHES "^(kernel32|msvcrt|ntdll|user32|advapi32|bcrypt|ucrtbase)\\.dll$"
       AND NOT dll MATCHES "^api-ms-win-")
      message(FATAL_ERROR "${LIBRARY} needs a DLL that is not the system's: ${dll}")
    endif()
  endforeach()
  if(NOT imports)
    message(FATAL_ERROR "no import table read from ${LIBRARY}")
  endif()
endif()

if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read the symbols of ${LIBRARY}")
endif()
list(SORT names)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "${LIBRARY} exports:\n  ${names}\nexpected exactly:\n  ${expected}")
endif()
message(STATUS "${LIBRARY}: exports ${names}")
