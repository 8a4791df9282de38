# Shared build rules: compiler settings, GoogleTest, the Wine test runner and
# the program-size patch step.

option(SAVER_FUZZ "Build libFuzzer targets (clang)" OFF)

if(WIN32)
  # Delivered programs need no runtime DLLs besides the system's own.
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Small programs: every function in a section of its own, and the link
  # drops the sections nothing refers to. Not -fdata-sections: with it this
  # compiler stores zero-initialised variables in the file.
  add_compile_options(-ffunction-sections)
  add_link_options(-Wl,--gc-sections)
  # The cross-built libjpeg-turbo and zlib are cached here; other build trees
  # may share them.
  set(SAVER_DEPS_DIR ${CMAKE_BINARY_DIR}/deps CACHE PATH "Cross-built dependencies")
  set(SAVER_DEPS_PREFIX ${SAVER_DEPS_DIR}/win32)
  # The script returns at once when the cache holds builds with its settings.
  execute_process(
    COMMAND ${CMAKE_SOURCE_DIR}/tools/setup/build-deps.sh ${SAVER_DEPS_DIR}
    RESULT_VARIABLE deps_result)
  if(NOT deps_result EQUAL 0)
    message(FATAL_ERROR "Cross-building the dependencies into ${SAVER_DEPS_PREFIX} failed")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/setup/build-deps.sh)
  # "z" everywhere means this zlib, not the toolchain's larger build.
  include_directories(BEFORE SYSTEM ${SAVER_DEPS_PREFIX}/include)
  link_directories(BEFORE ${SAVER_DEPS_PREFIX}/lib)
  add_library(saver_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(saver_jpeg PROPERTIES
    IMPORTED_LOCATION ${SAVER_DEPS_PREFIX}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${SAVER_DEPS_PREFIX}/include)

  # Tests run under Wine in a prefix of this build tree.
  set(SAVER_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_SOURCE_DIR}/tools/setup/wine-run.in
                 ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

  # Host tool that writes a program's own length into its size constant.
  set(SAVER_PATCH_SIZE ${CMAKE_BINARY_DIR}/host/patch-program-size)
  add_custom_command(OUTPUT ${SAVER_PATCH_SIZE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND c++ -std=c++17 -O2 -o ${SAVER_PATCH_SIZE} ${CMAKE_SOURCE_DIR}/tools/patch_program_size.cpp
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/patch_program_size.cpp ${CMAKE_SOURCE_DIR}/common/programSize.h
    COMMENT "Building host tool patch-program-size")
  add_custom_target(host_patch_program_size DEPENDS ${SAVER_PATCH_SIZE})

  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # The win32 thread model of this MinGW has no std::mutex, which GoogleTest's
  # Notification needs: supply a replacement to gtest and all its users.
  target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
  target_compile_options(gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/cmake/gtest-notification.h)
else()
  if(SAVER_FUZZ)
    # Instrument every library for coverage; only fuzz targets link libFuzzer.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  elseif(SAVER_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
  find_package(GTest REQUIRED)
  find_package(ZLIB REQUIRED)
  find_package(JPEG REQUIRED)
  if(SAVER_BENCHMARKS)
    find_package(benchmark REQUIRED)
  endif()
endif()

# Warnings for all our code in every configuration; GoogleTest, added above,
# keeps its own settings.
add_compile_options(-Wall -Wextra)

include(GoogleTest)

# saver_add_gtest(NAME SOURCES src... [LIBS lib...] [ENVIRONMENT VAR=value])
# A GoogleTest executable; under the win32 build its cases run through Wine,
# with the environment given, which Wine reads at each program's start.
function(saver_add_gtest name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  set(properties TIMEOUT 300)
  if(arg_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main GTest::gtest)
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PROPERTIES ${properties})
endfunction()

# saver_patch_program_size(TARGET): after link, store the file's own length
# in the program's size constant.
function(saver_patch_program_size target)
  add_dependencies(${target} host_patch_program_size)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${SAVER_PATCH_SIZE} $<TARGET_FILE:${target}>
    COMMENT "Recording the file length of ${target}")
endfunction()

# saver_without_exceptions(): the code of the current folder neither throws
# nor catches, and carries no unwind tables: nothing in the delivered
# programs unwinds, and the tables were a fifth of the installer.
macro(saver_without_exceptions)
  add_compile_options(-fno-exceptions -fno-asynchronous-unwind-tables)
endmacro()

# saver_windows_program(TARGET LEVEL): a delivered GUI program. It travels
# inside every package, so it is stripped by the linker (before its length is
# recorded) and links no exception runtime (see common/withoutExceptions.cpp). Its application manifest (from
# windowsProgram.manifest.in) names the systems it is written for up to
# Windows 11, asks for common controls 6 and declares the program DPI-aware
# on every monitor (version 2 where the system has it, so captions and
# dialogs follow a move to another monitor too): its windows scale their
# 96-DPI layouts themselves, so the system must not stretch them. LEVEL is
# its execution level, asInvoker or requireAdministrator. BOXES_ONLY: a
# program that shows no window of its own, only message boxes, asks for
# common controls 6 in a second manifest (the isolation-aware one, resource
# 2) that its boxes take on while they show (common/boxControls.cpp), so
# that a run without a box never loads that library.
function(saver_windows_program target level)
  target_link_options(${target} PRIVATE -mwindows -s)
  target_link_libraries(${target} PRIVATE saver_program_runtime)
  saver_program_manifest(${target} ${level} ${ARGN})
  saver_patch_program_size(${target})
endfunction()

# saver_program_manifest(TARGET LEVEL [BOXES_ONLY]): the application
# manifest above alone, for programs the project builds but does not carry
# as a launcher or installer (the sample screen saver): their boxes follow
# the screen's DPI too.
function(saver_program_manifest target level)
  cmake_parse_arguments(arg "BOXES_ONLY" "" "" ${ARGN})
  set(SAVER_MANIFEST_NAME ${target})
  set(SAVER_MANIFEST_LEVEL ${level})
  set(SAVER_COMMON_CONTROLS [=[
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                        processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
]=])
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}-manifest.rc)
  set(resourceText "1 24 \"${manifest}\"\n")  # RT_MANIFEST for CreateProcess
  set(boxes "")
  if(arg_BOXES_ONLY)
    set(SAVER_MANIFEST_CONTROLS "")
    set(boxes ${CMAKE_CURRENT_BINARY_DIR}/${target}-boxes.manifest)
    # Written without the layout's blanks: the launcher counts its bytes.
    string(REGEX REPLACE "\n *" " " SAVER_COMMON_CONTROLS "${SAVER_COMMON_CONTROLS}")
    string(REPLACE "> <" "><" SAVER_COMMON_CONTROLS "${SAVER_COMMON_CONTROLS}")
    configure_file(${CMAKE_SOURCE_DIR}/cmake/commonControls.manifest.in ${boxes} @ONLY)
    string(APPEND resourceText
      "#include <winuser.h>\nISOLATIONAWARE_MANIFEST_RESOURCE_ID RT_MANIFEST \"${boxes}\"\n")
  else()
    set(SAVER_MANIFEST_CONTROLS "${SAVER_COMMON_CONTROLS}")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/cmake/windowsProgram.manifest.in ${manifest} @ONLY)
  file(CONFIGURE OUTPUT ${resource} CONTENT "${resourceText}")
  set_source_files_properties(${resource} PROPERTIES OBJECT_DEPENDS "${manifest};${boxes}")
  target_sources(${target} PRIVATE ${resource})
endfunction()

# saver_add_fuzzer(NAME SOURCES src... [LIBS lib...] SEEDS dir MAX_LEN bytes)
# A libFuzzer target (fuzz preset, clang); NAME.fuzz beside it tells
# run-fuzzers.sh its seed folder and the largest input its format needs. In
# the other native builds the same source is linked with a small driver that
# replays the seed files as a test.
function(saver_add_fuzzer name)
  cmake_parse_arguments(arg "" "SEEDS;MAX_LEN" "SOURCES;LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  if(NOT arg_SEEDS OR NOT arg_MAX_LEN)
    message(FATAL_ERROR "fuzz target ${name} needs SEEDS and MAX_LEN")
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS})
  if(SAVER_FUZZ)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.fuzz "seeds=${arg_SEEDS}\nmax_len=${arg_MAX_LEN}\n")
  else()
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/fuzz_replay_main.cpp)
    add_test(NAME ${name}.replay COMMAND ${name} ${arg_SEEDS})
  endif()
endfunction()
