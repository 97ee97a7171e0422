# Runs Windows test programs under Wine: the 64-bit loader for the x86_64
# tree, the 32-bit one for the i686 tree (a 64-bit prefix runs both, as 64-bit
# Windows runs 32-bit programs). One prefix per build tree,
# set up once by the "wine_setup" fixture (persistent wineserver, Xvfb display,
# per-executable Windows versions) and shut down by "wine_teardown".
set(ORVEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(ORVEX_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVEX_WINE_LOADER /usr/lib/wine/wine64)
else()
  set(ORVEX_WINE_LOADER /usr/lib/wine/wine)
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${ORVEX_WINE_RUN} @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVEX_WINE_RUN} CACHE FILEPATH "" FORCE)

# The Windows version Wine reports to a program follows its file name.
set(ORVEX_MODES modern win98 nt40 win10)
set(ORVEX_MODE_VERSION_win98 win98)
set(ORVEX_MODE_VERSION_nt40 nt40)
set(ORVEX_MODE_VERSION_win10 win10)
# Further versions, for the system identification tests.
foreach(mode win95 winme win2k winxp winxp64 win2k3 winvista win2008 win7 win2008r2 win8 win81)
  set(ORVEX_MODE_VERSION_${mode} ${mode})
endforeach()

add_test(NAME wine_setup
  COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-setup.sh ${ORVEX_WINEPREFIX} ${CMAKE_BINARY_DIR}/appdefaults.reg)
set_tests_properties(wine_setup PROPERTIES FIXTURES_SETUP wine)
add_test(NAME wine_teardown COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-teardown.sh ${ORVEX_WINEPREFIX})
set_tests_properties(wine_teardown PROPERTIES FIXTURES_CLEANUP wine)
set(ORVEX_APPDEFAULTS "REGEDIT4\n")

# orvex_wine_test(<target> MODES <modes>...)
# Registers one CTest test per mode; a mode other than "modern" runs a copy of
# the executable named <target>_<mode>.exe, which Wine reports the mode's
# version to. The test program gets --orvex-mode=<mode>.
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
    if(mode STREQUAL "modern")
      set(exe $<TARGET_FILE:${target}>)
    else()
      set(exe_name ${target}_${mode}.exe)
      set(exe $<TARGET_FILE_DIR:${target}>/${exe_name})
      add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${exe})
      string(APPEND ORVEX_APPDEFAULTS
        "\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\${exe_name}]\n\"Version\"=\"${ORVEX_MODE_VERSION_${mode}}\"\n")
    endif()
    add_test(NAME ${target}_${mode} COMMAND ${ORVEX_WINE_RUN} ${exe} --orvex-mode=${mode})
    set_tests_properties(${target}_${mode} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
  endforeach()
  set(ORVEX_APPDEFAULTS "${ORVEX_APPDEFAULTS}" PARENT_SCOPE)
endfunction()

# Called once after all tests are registered.
function(orvex_write_appdefaults)
  file(WRITE ${CMAKE_BINARY_DIR}/appdefaults.reg "${ORVEX_APPDEFAULTS}")
endfunction()
