# The Windows build, cross-built with cmake/mingw-w64.cmake: the Firebird header, the runtime
# beside the programs and wine for the tests. Included from the top-level CMakeLists.txt
# after Qt is found, before the project's folders.

# Debian's ibase.h serves the mingw build as it is; the rest of the build machine's
# /usr/include must stay out of it, so the header gets a folder of its own.
set(TAVLO_FIREBIRD_HEADER /usr/include/ibase.h CACHE FILEPATH "The Firebird C API header")
configure_file(${TAVLO_FIREBIRD_HEADER} ${CMAKE_BINARY_DIR}/firebird-include/ibase.h COPYONLY)
include_directories(SYSTEM ${CMAKE_BINARY_DIR}/firebird-include)

# Everything the programs need beside them in the program folder, there from the configure
# step on so that the tests' cases can be listed as soon as a test program is linked: Qt's
# DLLs, MinGW's C and C++ runtime, the Windows platform plugin and the native style, the
# offscreen platform for the window's tests, and Qt's own texts in Brazilian Portuguese.
set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
get_filename_component(qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
file(MAKE_DIRECTORY ${bin}/platforms ${bin}/styles ${bin}/translations)
foreach(module Core Gui Widgets)
  file(COPY ${qt_prefix}/bin/Qt6${module}.dll DESTINATION ${bin})
endforeach()
# Qt Test, for the window's tests only (the zip leaves it out), when this Qt was built with it.
if(EXISTS ${qt_prefix}/bin/Qt6Test.dll)
  file(COPY ${qt_prefix}/bin/Qt6Test.dll DESTINATION ${bin})
endif()
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                  OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${runtime_path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${runtime} is")
  endif()
  file(COPY ${runtime_path} DESTINATION ${bin})
endforeach()
file(COPY ${qt_prefix}/plugins/platforms/qwindows.dll ${qt_prefix}/plugins/platforms/qoffscreen.dll
     DESTINATION ${bin}/platforms)
file(COPY ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION ${bin}/styles)
set(TAVLO_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH "Qt's translations of its own texts")
file(COPY ${TAVLO_QT_TRANSLATIONS}/qtbase_pt_BR.qm DESTINATION ${bin}/translations)
# Qt's paths for a program folder (QLibraryInfo): plugins in it, translations in its
# translations folder.
file(WRITE ${bin}/qt.conf "[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n")

# The tests run under wine, in a wine prefix of the build's own (or the one given), through a
# small script that sets it up: CTest and the listing of the tests' cases both use it.
set(TAVLO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH "The wine prefix the tests run in")
find_program(TAVLO_WINE_PROGRAM wine REQUIRED)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
