# Runs the loader host natively on libunreal.so and under wine64 on unreal.dll, over the same
# archive, and requires both to make the same calls. Wine gets a prefix of its own in the build
# tree, no display and no debug output, so that it never stops to ask anything.
#   cmake -DNATIVE_HOST= -DLIBRARY_SO= -DWINDOWS_HOST= -DLIBRARY_DLL= -DWINE= -DWINESERVER=
#         -DPREFIX= -DARCHIVE= -DKEY= -P run_under_wine.cmake
if(NOT EXISTS "${ARCHIVE}")
  message("Skipped: no test archive at ${ARCHIVE}")
  return()
endif()

execute_process(COMMAND "${NATIVE_HOST}" "${LIBRARY_SO}" "${ARCHIVE}" "${KEY}"
                OUTPUT_VARIABLE native RESULT_VARIABLE native_rc TIMEOUT 300)
if(NOT native_rc EQUAL 0)
  message(FATAL_ERROR "native loader host failed (${native_rc}):\n${native}")
endif()

file(MAKE_DIRECTORY "${PREFIX}")
set(ENV{WINEPREFIX} "${PREFIX}")
set(ENV{WINEDEBUG} "-all")
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=;winemenubuilder.exe=d")
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
execute_process(COMMAND "${WINE}" "${WINDOWS_HOST}" "Z:${LIBRARY_DLL}" "Z:${ARCHIVE}" "Z:${KEY}"
                OUTPUT_VARIABLE windows ERROR_VARIABLE wine_errors RESULT_VARIABLE windows_rc
                TIMEOUT 900)
# Let this prefix's wineserver finish before the test ends.
execute_process(COMMAND "${WINESERVER}" -w TIMEOUT 60)
if(NOT windows_rc EQUAL 0)
  message(FATAL_ERROR "loader host under wine failed (${windows_rc}):\n${windows}\n${wine_errors}")
endif()

string(REPLACE "\r\n" "\n" windows "${windows}")
if(NOT windows STREQUAL native)
  message(FATAL_ERROR "unreal.dll and libunreal.so differ.\nWindows:\n${windows}\nLinux:\n${native}")
endif()
if(NOT native MATCHES "init 1\n" OR NOT native MATCHES "add 3 [0-9]+ [0-9]+ [0-9]+ 501 0 aes null"
   OR NOT native MATCHES "nested 3 0 [0-9]+ [0-9]+ zlib 0 0")
  message(FATAL_ERROR "the scan did not report the archive's encrypted entries:\n${native}")
endif()
message("unreal.dll under wine64 made the same calls as libunreal.so:\n${native}")
