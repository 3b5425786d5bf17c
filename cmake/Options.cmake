# Every choice a builder can make, in one place: presets and scripts set these, nothing else does.

option(FWUP_BUILD_TESTS "Build the test binary" ON)
option(FWUP_BUILD_BENCH "Build the benchmarks (bench/run.sh turns this on)" OFF)
option(FWUP_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(FWUP_SANITIZE_THREAD "Build with ThreadSanitizer (not together with FWUP_SANITIZE)" OFF)
if(FWUP_SANITIZE AND FWUP_SANITIZE_THREAD)
  message(FATAL_ERROR "FWUP_SANITIZE and FWUP_SANITIZE_THREAD cannot be combined")
endif()

# The firmware the program carries (cmake/FirmwarePackage.cmake).
set(FWUP_PACKAGE_3000 "" CACHE FILEPATH
    "Firmware package embedded as resource 3000, sent when the printer needs no encryption (empty: a generated test package)")
set(FWUP_PACKAGE_3001 "" CACHE FILEPATH
    "Firmware package embedded as resource 3001, sent when the printer asks for encryption (empty: a generated test package)")

# What the packages say about where they come from (cmake/Packaging.cmake).
set(FWUP_HOMEPAGE_URL "https://viruzu.example/fwup" CACHE STRING
    "Home page named in the package and the AppStream metainfo (screenshots below it)")
set(FWUP_CONTACT_EMAIL "fwup@viruzu.example" CACHE STRING
    "Maintainer address of the Debian package")

if(NOT WIN32)
  # udev reads packaged rules from <prefix>/lib/udev/rules.d only for the prefix /usr (or /);
  # not CMAKE_INSTALL_LIBDIR, which may be lib64 or a multiarch folder udev never reads.
  # Local installs can point this at /etc/udev/rules.d.
  set(FWUP_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
      "Where the udev rule goes (relative to CMAKE_INSTALL_PREFIX, or absolute)")
endif()

# The tests' tools.
set(FWUP_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
# Debian's interpreter: the console program's lines are checked against
# docs/cli-output.schema.json with its python3-jsonschema.
set(FWUP_SYSTEM_PYTHON /usr/bin/python3 CACHE FILEPATH "Python with Debian's python3-* modules")

# The shipped package's size: L = 190,590,352, so L + 59 = 190,590,411 bytes. The linux preset
# builds the benchmarks with small "full" packages, only to run them once as a test that they
# still work (their figures mean nothing there); bench/run.sh uses the real size.
set(FWUP_BENCH_FULL_PAYLOAD 190590352 CACHE STRING "Payload bytes of the benchmarks' full packages")
