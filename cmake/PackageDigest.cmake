# Records the digest of one firmware package for the program to check before it sends it:
#   cmake -DXXHSUM=<xxhsum> -DPACKAGE=<file> -DOUTPUT=<file> -P PackageDigest.cmake
# OUTPUT receives the package's XXH3-128 as 32 lowercase hex digits and nothing else, the form
# the program parses. xxhsum (Debian's, from the same xxHash release whose header the program
# hashes with) prints the canonical big-endian form; the program compares in that form too.
foreach(var XXHSUM PACKAGE OUTPUT)
  if(NOT ${var})
    message(FATAL_ERROR "PackageDigest.cmake: ${var} is required")
  endif()
endforeach()

execute_process(
  COMMAND ${XXHSUM} -H2 ${PACKAGE}
  OUTPUT_VARIABLE line
  ERROR_VARIABLE error
  RESULT_VARIABLE result)
# A file name with unusual characters is printed escaped after the digest; only the digest is read.
string(REPEAT "[0-9a-f]" 32 hex)
if(NOT result EQUAL 0 OR NOT line MATCHES "^\\\\?(${hex})  ")
  message(FATAL_ERROR "No XXH3-128 digest of ${PACKAGE} from ${XXHSUM}: ${error}${line}")
endif()
file(WRITE ${OUTPUT} ${CMAKE_MATCH_1})
