if(FWUP_SANITIZE_THREAD)
  # For every target from here down, GoogleTest included: a race is only seen when both sides of
  # it are instrumented. fwup_apply_options adds the same flags to our targets and their users.
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# What ships is built as Debian builds its packages: these programs parse what a USB device and
# a scenario file say, and the flags cost nothing the benchmarks see. For every target from here
# down, so the test binary runs the code as it ships.
if(WIN32)
  # ASLR (a relocatable image, anywhere in the 64-bit space) and DEP.
  add_link_options(-Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat)
else()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  add_compile_options(-fstack-protector-strong)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
  # The checked string and memory functions need the optimiser, and stand in the sanitizers'
  # way. Set anew: a compiler that already defines it would warn of the redefinition.
  set(FWUP_OPTIMISED_CONFIGS Release RelWithDebInfo MinSizeRel)
  if(NOT FWUP_SANITIZE AND NOT FWUP_SANITIZE_THREAD AND CMAKE_BUILD_TYPE IN_LIST FWUP_OPTIMISED_CONFIGS)
    set(FWUP_FORTIFY ON)
    add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)
  else()
    set(FWUP_FORTIFY OFF)
  endif()
endif()

# Two builds of one commit give the same bytes wherever they run (scripts/reproducible-check.sh):
# no absolute path of the source or build tree reaches an object, its debug info or __FILE__.
# The build tree is named last, as the compiler tries the last match first and the build tree
# may sit inside the source tree. The .S of the firmware packages is covered too: the compiler
# hands the map on to the assembler.
# ccache with a base_dir hands the compiler every path relative to the build tree ("../../src/x",
# "src/app/qt/x" for a generated file), which no absolute map matches; a build with ccache would
# carry other debug info (and so another build ID) than one without. So the relative source path
# is mapped too, and a generated file's absolute path becomes the relative one ccache gives, while
# the compiler's folder itself is "build".
file(RELATIVE_PATH FWUP_SOURCE_FROM_BUILD ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
string(REGEX REPLACE "/$" "" FWUP_SOURCE_FROM_BUILD "${FWUP_SOURCE_FROM_BUILD}")
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                    -ffile-prefix-map=${FWUP_SOURCE_FROM_BUILD}=.
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}=build
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
# moc includes the header it read by a path relative to its output ("../../../../src/app/qt/x.h"),
# which lands in the debug info and differs with where the build tree sits; with the prefix moc
# names it from the include path instead ("app/qt/x.h"), which the maps above cover.
set(CMAKE_AUTOMOC_PATH_PREFIX ON)
if(WIN32)
  # The PE header's time stamp would otherwise be the time of the link.
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# Warnings are errors on every compiler; the MinGW runtime is linked statically so the .exe runs
# on any Windows (and Wine) without extra DLLs.
function(fwup_apply_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(FWUP_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer
                                            -fno-sanitize-recover=all)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(FWUP_SANITIZE_THREAD)
    target_compile_options(${target} PUBLIC -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=thread)
  endif()
  if(MINGW)
    target_link_options(${target} PUBLIC -static -static-libgcc -static-libstdc++)
  endif()
endfunction()
