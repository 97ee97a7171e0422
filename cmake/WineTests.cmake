# Runs Windows test programs under Wine, each tree in the Windows of its
# width: the x86_64 tree with the 64-bit loader in a 64-bit prefix, the i686
# tree with the 32-bit loader in a 32-bit prefix (WINEARCH=win32: a 32-bit
# Windows, as 95 to XP and the 32-bit 7 and 10 are). The i686 tree also has a
# 64-bit prefix of its own for the "wow64" mode: the 32-bit programs as
# 64-bit Windows runs them. One prefix each, set up once by the "wine_setup"
# fixtures (persistent wineserver, Xvfb display, per-executable Windows
# versions) and shut down by "wine_teardown".
set(ORVEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(ORVEX_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVEX_WINE_LOADER /usr/lib/wine/wine64)
  set(ORVEX_WINEARCH win64)
else()
  set(ORVEX_WINE_LOADER /usr/lib/wine/wine)
  set(ORVEX_WINEARCH win32)
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${ORVEX_WINE_RUN} @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVEX_WINE_RUN} CACHE FILEPATH "" FORCE)

# The folder that holds both widths of both programs as a user gets them
# (tools/dist.sh), for the tests of the 32-bit programs on 64-bit Windows.
set(ORVEX_DIST_DIR ${PROJECT_SOURCE_DIR}/build/dist)

# Registers a prefix: wine_setup<suffix> and wine_teardown<suffix>, fixture
# wine<suffix>.
function(orvex_wine_prefix suffix prefix arch)
  add_test(NAME wine_setup${suffix}
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-setup.sh ${prefix} ${CMAKE_BINARY_DIR}/appdefaults.reg ${arch})
  set_tests_properties(wine_setup${suffix} PROPERTIES FIXTURES_SETUP wine${suffix})
  add_test(NAME wine_teardown${suffix} COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-teardown.sh ${prefix})
  set_tests_properties(wine_teardown${suffix} PROPERTIES FIXTURES_CLEANUP wine${suffix})
endfunction()
orvex_wine_prefix("" ${ORVEX_WINEPREFIX} ${ORVEX_WINEARCH})
if(ORVEX_WINEARCH STREQUAL "win32")
  set(ORVEX_WINEPREFIX_WOW64 ${CMAKE_BINARY_DIR}/wineprefix-wow64)
  set(ORVEX_WINE_RUN_WOW64 ${CMAKE_BINARY_DIR}/wine-run-wow64.sh)
  block()
    set(ORVEX_WINEPREFIX ${ORVEX_WINEPREFIX_WOW64})
    configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${ORVEX_WINE_RUN_WOW64} @ONLY
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endblock()
  orvex_wine_prefix("_wow64" ${ORVEX_WINEPREFIX_WOW64} win64)
endif()

# The Windows version Wine reports to a program follows its file name.
set(ORVEX_MODES modern win98 nt40 win10)
set(ORVEX_MODE_VERSION_win98 win98)
set(ORVEX_MODE_VERSION_nt40 nt40)
set(ORVEX_MODE_VERSION_win10 win10)
# Further versions, for the system identification tests.
foreach(mode win95 winme win2k winxp winxp64 win2k3 winvista win2008 win7 win2008r2 win8 win81)
  set(ORVEX_MODE_VERSION_${mode} ${mode})
endforeach()

set(ORVEX_APPDEFAULTS "REGEDIT4\n")

# orvex_wine_test(<target> MODES <modes>...)
# Registers one CTest test per mode; a mode other than "modern", "wow64" and
# "cp932" runs a copy of the executable named <target>_<mode>.exe, which Wine
# reports the mode's version to. "wow64" (i686 tree only) runs the executable
# itself in the tree's 64-bit prefix, "cp932" under a Japanese locale (ANSI
# code page 932), "dpi120", "dpi144" and "dpi192" with the prefix's screen at
# that DPI (cmake/wine-dpi.sh). The test program gets --orvex-mode=<mode>.
function(orvex_wine_test target)
  cmake_parse_arguments(W "" "" "MODES" ${ARGN})
  if(NOT W_MODES)
    set(W_MODES modern)
  endif()
  foreach(mode IN LISTS W_MODES)
    # Windows of the tests are not handed to a window manager (there is none
    # on the test display, and Wine would wait for it on every destroy).
    if(mode STREQUAL "modern")
      set(managed_name ${target}.exe)
    else()
      set(managed_name ${target}_${mode}.exe)
    endif()
    string(APPEND ORVEX_APPDEFAULTS
      "\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\${managed_name}\\X11 Driver]\n\"Managed\"=\"N\"\n")
    set(run ${ORVEX_WINE_RUN})
    set(fixture wine)
    set(own_exe FALSE)
    if(mode STREQUAL "modern" OR mode STREQUAL "wow64" OR mode STREQUAL "cp932" OR mode MATCHES "^dpi")
      set(own_exe TRUE)
    endif()
    if(own_exe AND NOT mode STREQUAL "modern")
      set(managed_name ${target}.exe)
    endif()
    if(mode STREQUAL "wow64")
      set(run ${ORVEX_WINE_RUN_WOW64})
      set(fixture wine_wow64)
    endif()
    if(mode MATCHES "^dpi([0-9]+)$")
      set(run ${PROJECT_SOURCE_DIR}/cmake/wine-dpi.sh ${ORVEX_WINE_RUN} ${CMAKE_MATCH_1})
    endif()
    if(own_exe)
      set(exe $<TARGET_FILE:${target}>)
    else()
      set(exe_name ${target}_${mode}.exe)
      set(exe $<TARGET_FILE_DIR:${target}>/${exe_name})
      add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${exe})
      string(APPEND ORVEX_APPDEFAULTS
        "\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\${exe_name}]\n\"Version\"=\"${ORVEX_MODE_VERSION_${mode}}\"\n")
    endif()
    add_test(NAME ${target}_${mode} COMMAND ${run} ${exe} --orvex-mode=${mode})
    set_tests_properties(${target}_${mode} PROPERTIES FIXTURES_REQUIRED ${fixture} TIMEOUT 600)
    if(mode STREQUAL "cp932")
      # Wine takes a program's ANSI code page from the Unix locale.
      set_tests_properties(${target}_${mode} PROPERTIES ENVIRONMENT "LC_ALL=ja_JP.UTF-8")
    endif()
  endforeach()
  set(ORVEX_APPDEFAULTS "${ORVEX_APPDEFAULTS}" PARENT_SCOPE)
endfunction()

# Called once after all tests are registered.
function(orvex_write_appdefaults)
  file(WRITE ${CMAKE_BINARY_DIR}/appdefaults.reg "${ORVEX_APPDEFAULTS}")
endfunction()
