# Header-only and source packages come from Debian's packages. They are staged into the build tree
# so that a cross build never puts the host's /usr/include on its include path.
set(FWUP_STAGED_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)

find_path(FWUP_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(COPY ${FWUP_NLOHMANN_DIR}/nlohmann DESTINATION ${FWUP_STAGED_INCLUDE})
add_library(fwup_json INTERFACE)
target_include_directories(fwup_json SYSTEM INTERFACE ${FWUP_STAGED_INCLUDE})

# XXH3-128, the package digest. Used header-only (XXH_INLINE_ALL in the one file that hashes), so
# the MinGW build needs no library of the target's; the build records digests with the same
# release's xxhsum (cmake/FirmwarePackage.cmake).
find_path(FWUP_XXHASH_DIR xxhash.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(COPY ${FWUP_XXHASH_DIR}/xxhash.h DESTINATION ${FWUP_STAGED_INCLUDE})
add_library(fwup_xxhash INTERFACE)
target_include_directories(fwup_xxhash SYSTEM INTERFACE ${FWUP_STAGED_INCLUDE})
