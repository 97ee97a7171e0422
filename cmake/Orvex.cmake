# Common compile options and the layer helper.
add_library(orvex_options INTERFACE)
target_include_directories(orvex_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(orvex_options INTERFACE -Wall -Wextra -Wno-cast-function-type)
if(WIN32)
  target_compile_definitions(orvex_options INTERFACE
    _WIN32_WINNT=0x0600 WINVER=0x0600 NOMINMAX STRICT _WIN32_IE=0x0600)
  target_link_options(orvex_options INTERFACE -static -static-libgcc -static-libstdc++)
elseif(ORVEX_SANITIZE)
  target_compile_options(orvex_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(orvex_options INTERFACE -fsanitize=address,undefined)
  if(ORVEX_FUZZ)
    # Coverage for libFuzzer in every library; the targets link the engine.
    target_compile_options(orvex_options INTERFACE -fsanitize=fuzzer-no-link)
  endif()
endif()

# Warnings as errors for the product's own code (every library orvex_layer
# builds, and the programs that call orvex_product_warnings): -Wall -Wextra
# of orvex_options plus the implicit conversions that lose value, above all
# 64-bit values cut to 32 bits (size_t or a pointer-sized integer into
# DWORD, int or LONG). GCC's -Wconversion covers that; clang's -Wconversion
# adds -Wshorten-64-to-32 and the sign changes. Tests, the benchmark and
# GoogleTest keep orvex_options alone.
add_library(orvex_product_warnings INTERFACE)
target_compile_options(orvex_product_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:C,CXX>:-Werror -Wconversion>
  $<$<AND:$<COMPILE_LANGUAGE:C,CXX>,$<CXX_COMPILER_ID:Clang>>:-Wshorten-64-to-32>)

# orvex_product_warnings(<target>...): the warnings above for these targets'
# own sources.
function(orvex_product_warnings)
  foreach(target IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE orvex_product_warnings)
  endforeach()
endfunction()

# orvex_layer(<name> [DEPENDS <layers>] [PURE_DEPENDS <layers>] [SYSLIBS <libs>])
# Builds orvex_<name>_pure from <name>/pure/*.cpp (code free of the Windows
# headers, also built on the host) and, for Windows targets, orvex_<name> from
# <name>/*.cpp. orvex_<name> links its pure part and the layers named in
# DEPENDS; orvex_<name>_pure links the pure parts of the layers named in
# PURE_DEPENDS. Each names exactly the layers its sources include, all of
# them lower ones (the layer_includes test checks both).
function(orvex_layer name)
  cmake_parse_arguments(L "" "" "DEPENDS;PURE_DEPENDS;SYSLIBS" ${ARGN})
  file(GLOB pure_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/pure/*.cpp)
  set(pure_target orvex_${name}_pure)
  if(pure_sources)
    add_library(${pure_target} STATIC ${pure_sources})
    orvex_product_warnings(${pure_target})
    set(scope PUBLIC)
  else()
    add_library(${pure_target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_link_libraries(${pure_target} ${scope} orvex_options)
  foreach(dep IN LISTS L_PURE_DEPENDS)
    target_link_libraries(${pure_target} ${scope} orvex_${dep}_pure)
  endforeach()
  if(WIN32)
    file(GLOB win_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(win_sources)
      add_library(orvex_${name} STATIC ${win_sources})
      orvex_product_warnings(orvex_${name})
      set(scope PUBLIC)
    else()
      add_library(orvex_${name} INTERFACE)
      set(scope INTERFACE)
    endif()
    target_link_libraries(orvex_${name} ${scope} ${pure_target} ${L_SYSLIBS})
    foreach(dep IN LISTS L_DEPENDS)
      target_link_libraries(orvex_${name} ${scope} orvex_${dep})
    endforeach()
  endif()
endfunction()
