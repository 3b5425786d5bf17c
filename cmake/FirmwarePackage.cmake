# The firmware packages the program carries, resources 3000 and 3001 of type BINARY.
#
# By default both are small generated test packages (different from each other, so a test can
# tell which one was sent) and the build stays fast. For a release, name the real packages:
#   cmake --preset windows -DFWUP_PACKAGE_3000=/path/fw-plain.bin -DFWUP_PACKAGE_3001=/path/fw-enc.bin
# Every package is checked (scripts/check-package.py) before it is embedded; a package whose outer
# layout is wrong stops the build with a message that names the file and the fault.
#
# Embedding: on Windows the PE resources of resources/windows/firmware.rc; elsewhere an assembler
# .incbin of each file into read-only data. Either way the package is part of the executable's
# image, mapped from the file, never copied onto the heap.
#
# Beside each package the build records its XXH3-128 digest (xxhsum, cmake/PackageDigest.cmake),
# 32 hex digits embedded the same way: resource <id> of type XXH3_128 on Windows, the symbol
# fwup_package_<id>_digest elsewhere. SendElf refuses a package whose bytes no longer match it.
#
# Targets:
#   fwup_firmware_package       the configured packages, for the program
#   fwup_test_firmware_package  always the generated test packages, for the test binary
# Link one of them into every executable that sends firmware (SendElf); on Linux a missing link
# is an undefined-symbol error, on Windows SendElf would find no resource.

find_package(Python3 REQUIRED COMPONENTS Interpreter)
# A program of the build machine, also when cross-building: the toolchain never searches for
# programs in its root.
find_program(FWUP_XXHSUM xxhsum REQUIRED)
if(NOT WIN32)
  enable_language(ASM)
endif()

set(FWUP_PACKAGE_3000 "" CACHE FILEPATH
    "Firmware package embedded as resource 3000, sent when the printer needs no encryption (empty: a generated test package)")
set(FWUP_PACKAGE_3001 "" CACHE FILEPATH
    "Firmware package embedded as resource 3001, sent when the printer asks for encryption (empty: a generated test package)")

set(FWUP_MAKE_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/make-test-package.py)
set(FWUP_CHECK_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/check-package.py)
set(FWUP_PACKAGE_DIGEST_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/PackageDigest.cmake)

# fwup_generate_test_package(<out-var> <name> <payload-bytes> <seed>)
# Adds a build step that writes ${CMAKE_BINARY_DIR}/firmware/<name>.bin, a well-formed package
# of <payload-bytes> + 59 bytes, and sets <out-var> to its path.
function(fwup_generate_test_package outVar name payloadBytes seed)
  set(file ${CMAKE_BINARY_DIR}/firmware/${name}.bin)
  add_custom_command(
    OUTPUT ${file}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/firmware
    COMMAND ${Python3_EXECUTABLE} ${FWUP_MAKE_PACKAGE_SCRIPT} --payload-bytes ${payloadBytes}
            --seed ${seed} ${file}
    DEPENDS ${FWUP_MAKE_PACKAGE_SCRIPT}
    COMMENT "Generating firmware package ${name}.bin (${payloadBytes}-byte payload)"
    VERBATIM)
  set(${outVar} ${file} PARENT_SCOPE)
endfunction()

# A path as a C string literal, for the assembler and the resource compiler.
function(fwup_quoted_path outVar path)
  string(REPLACE "\\" "\\\\" path "${path}")
  string(REPLACE "\"" "\\\"" path "${path}")
  set(${outVar} "\"${path}\"" PARENT_SCOPE)
endfunction()

# fwup_add_package_embedding(<target> PACKAGE_3000 <file> PACKAGE_3001 <file>)
# An OBJECT library that puts both packages into any executable linking it. The files may be
# outputs of fwup_generate_test_package in the same directory.
function(fwup_add_package_embedding target)
  cmake_parse_arguments(ARG "" "PACKAGE_3000;PACKAGE_3001" "" ${ARGN})
  if(NOT ARG_PACKAGE_3000 OR NOT ARG_PACKAGE_3001)
    message(FATAL_ERROR "fwup_add_package_embedding(${target}): PACKAGE_3000 and PACKAGE_3001 are required")
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}.dir-packages)
  set(stamp ${dir}/packages.checked)
  set(packages ${ARG_PACKAGE_3000} ${ARG_PACKAGE_3001})

  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${Python3_EXECUTABLE} ${FWUP_CHECK_PACKAGE_SCRIPT} --stamp ${stamp} ${packages}
    DEPENDS ${FWUP_CHECK_PACKAGE_SCRIPT} ${packages}
    COMMENT "Checking the firmware packages of ${target}"
    VERBATIM)
  add_custom_target(${target}_check DEPENDS ${stamp})

  set(digests)
  foreach(id 3000 3001)
    set(digest${id} ${dir}/package-${id}.xxh128)
    add_custom_command(
      OUTPUT ${digest${id}}
      COMMAND ${CMAKE_COMMAND} -DXXHSUM=${FWUP_XXHSUM} -DPACKAGE=${ARG_PACKAGE_${id}}
              -DOUTPUT=${digest${id}} -P ${FWUP_PACKAGE_DIGEST_SCRIPT}
      DEPENDS ${FWUP_PACKAGE_DIGEST_SCRIPT} ${ARG_PACKAGE_${id}}
      COMMENT "Recording the digest of firmware package ${id} of ${target}"
      VERBATIM)
    list(APPEND digests ${digest${id}})
    fwup_quoted_path(digestFile${id} ${digest${id}})
  endforeach()

  fwup_quoted_path(file3000 ${ARG_PACKAGE_3000})
  fwup_quoted_path(file3001 ${ARG_PACKAGE_3001})
  if(WIN32)
    set(source ${PROJECT_SOURCE_DIR}/resources/windows/firmware.rc)
    file(CONFIGURE OUTPUT ${dir}/firmware_package_paths.h CONTENT
"// Generated by cmake/FirmwarePackage.cmake for ${target}: the packages firmware.rc embeds.
#define FWUP_PACKAGE_3000_FILE ${file3000}
#define FWUP_PACKAGE_3001_FILE ${file3001}
#define FWUP_PACKAGE_3000_DIGEST_FILE ${digestFile3000}
#define FWUP_PACKAGE_3001_DIGEST_FILE ${digestFile3001}
")
    add_library(${target} OBJECT ${source})
    target_include_directories(${target} PRIVATE ${dir})
  else()
    set(source ${dir}/firmware_package.S)
    set(asm "/* Generated by cmake/FirmwarePackage.cmake for ${target}: the firmware packages. */\n")
    foreach(id 3000 3001)
      set(symbol fwup_package_${id})
      string(APPEND asm "
    .section .rodata.${symbol},\"a\",@progbits
    .balign 64
    .globl ${symbol}
    .type ${symbol}, @object
${symbol}:
    .incbin ${file${id}}
.L${symbol}_end:
    .size ${symbol}, .L${symbol}_end - ${symbol}

    .balign 8
    .globl ${symbol}_size
    .type ${symbol}_size, @object
${symbol}_size:
    .8byte .L${symbol}_end - ${symbol}
    .size ${symbol}_size, 8

    .globl ${symbol}_digest
    .type ${symbol}_digest, @object
${symbol}_digest:
    .incbin ${digestFile${id}}
.L${symbol}_digest_end:
    .size ${symbol}_digest, .L${symbol}_digest_end - ${symbol}_digest
    .globl ${symbol}_digest_size
    .type ${symbol}_digest_size, @object
    .balign 8
${symbol}_digest_size:
    .8byte .L${symbol}_digest_end - ${symbol}_digest
    .size ${symbol}_digest_size, 8
")
    endforeach()
    string(APPEND asm "
    /* No executable stack. */
    .section .note.GNU-stack,\"\",@progbits
")
    file(CONFIGURE OUTPUT ${source} CONTENT "${asm}")
    add_library(${target} OBJECT ${source})
  endif()
  add_dependencies(${target} ${target}_check)
  # The assembler and the resource compiler read the package and digest files, which no
  # dependency scanner sees; a changed package must rebuild the object. Appended: the .rc is
  # shared by targets.
  set_property(SOURCE ${source} APPEND PROPERTY OBJECT_DEPENDS ${stamp} ${packages} ${digests})
endfunction()

fwup_generate_test_package(FWUP_TEST_PACKAGE_3000 test-package-3000 600000 3000)
fwup_generate_test_package(FWUP_TEST_PACKAGE_3001 test-package-3001 450001 3001)

set(FWUP_APP_PACKAGES)
foreach(id 3000 3001)
  if(FWUP_PACKAGE_${id})
    get_filename_component(file "${FWUP_PACKAGE_${id}}" ABSOLUTE BASE_DIR ${CMAKE_BINARY_DIR})
    if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
      message(FATAL_ERROR "FWUP_PACKAGE_${id}: no firmware package file at ${file}")
    endif()
    list(APPEND FWUP_APP_PACKAGES PACKAGE_${id} ${file})
  else()
    list(APPEND FWUP_APP_PACKAGES PACKAGE_${id} ${FWUP_TEST_PACKAGE_${id}})
  endif()
endforeach()

fwup_add_package_embedding(fwup_firmware_package ${FWUP_APP_PACKAGES})
fwup_add_package_embedding(fwup_test_firmware_package
  PACKAGE_3000 ${FWUP_TEST_PACKAGE_3000} PACKAGE_3001 ${FWUP_TEST_PACKAGE_3001})

if(FWUP_BUILD_TESTS)
  # The build-time check must refuse every broken layout, or a wrong file could ship.
  add_test(NAME firmware_package_check_self_test
           COMMAND ${Python3_EXECUTABLE} ${FWUP_CHECK_PACKAGE_SCRIPT} --self-test)
endif()
