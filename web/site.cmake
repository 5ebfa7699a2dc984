# Finishes the static site (run by `cmake -P` from web/Web.cmake once the program's files and the
# page's others are in place):
# - index.html: the page, with the size of the three program files written into its loading bar,
#   which counts what they decode to against it on any host, compressing or not;
# - sw.js: the service worker, with the list of the site's files it caches and the build's name, a
#   hash of all of them: a changed file makes a new worker and a new cache, an unchanged build
#   keeps both;
# - a .br (brotli) and a .gz (gzip) beside each large file, for hosts that serve them;
# - nothing else: files of earlier builds go.
# Every output is the same bytes for the same inputs (gzip -n leaves out the name and the date).
# Takes -DSITE=<folder of the site> -DWEB=<web/> -DFILES=<the site's files> (ZARNEL_WEB_SITE_FILES
# in web/Web.cmake) -DPROGRAM=<the program's files> -DCOMPRESS=<files to precompress>
# -DBROTLI=<brotli> -DGZIP=<gzip>.
cmake_minimum_required(VERSION 3.16)
if(NOT FILES)
  message(FATAL_ERROR "The list of the site's files (ZARNEL_WEB_SITE_FILES in web/Web.cmake) reached "
    "web/site.cmake empty: the service worker would cache nothing, and its cache name, a hash of "
    "those files, would never change, so players would keep an old build for ever.")
endif()

# The link writes into zarnel.js two things that differ between builds of the same sources: a
# random id of the data package, read only by emscripten's preload cache, which the page does not
# use, and the package's path in the build folder, an id for the download. The id becomes a hash of
# the package, and the path the package's name, so the site is the same bytes from the same sources
# wherever it is built (and the worker's hash changes only with them).
file(READ "${SITE}/zarnel.js" script)
file(SHA256 "${SITE}/zarnel.data" data)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*" "\\1-\\2-\\3-\\4-\\5" data "${data}")
set(fixed "${script}")
foreach(key "package_uuid:" "\"package_uuid\":")
  string(REGEX REPLACE "${key}\"[^\"]*\"" "${key}\"${data}\"" fixed "${fixed}")
endforeach()
foreach(prefix "" "datafile_")
  string(REGEX REPLACE "\"${prefix}/[^\"]*/zarnel\\.data\"" "\"${prefix}zarnel.data\"" fixed "${fixed}")
endforeach()
if(NOT fixed STREQUAL script)
  file(WRITE "${SITE}/zarnel.js" "${fixed}")
endif()

# The page, with the bytes of the three program files as its bar's maximum.
set(ZARNEL_WEB_DOWNLOAD_BYTES 0)
foreach(name IN LISTS PROGRAM)
  file(SIZE "${SITE}/${name}" size)
  math(EXPR ZARNEL_WEB_DOWNLOAD_BYTES "${ZARNEL_WEB_DOWNLOAD_BYTES} + ${size}")
endforeach()
configure_file("${WEB}/index.html" "${SITE}/index.html" @ONLY)

# The worker: the build is named by a hash of the hashes of its files, in the list's order.
set(hashes "")
set(names "")
foreach(name IN LISTS FILES)
  if(NOT EXISTS "${SITE}/${name}")
    message(FATAL_ERROR "${SITE}/${name} is in the site's list of files (ZARNEL_WEB_SITE_FILES in "
      "web/Web.cmake) but was not written: the service worker could not cache it.")
  endif()
  file(SHA256 "${SITE}/${name}" hash)
  string(APPEND hashes "${hash}")
  string(APPEND names "'${name}', ")
endforeach()
string(SHA256 build "${hashes}")
string(SUBSTRING "${build}" 0 16 ZARNEL_BUILD)
string(REGEX REPLACE ", $" "" ZARNEL_WEB_FILES "${names}")
file(READ "${WEB}/sw.js" template)
foreach(placeholder ZARNEL_BUILD ZARNEL_WEB_FILES)
  string(FIND "${template}" "@${placeholder}@" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "web/sw.js has no @${placeholder}@ for the build to fill in: the service "
      "worker would not know its build or its files.")
  endif()
endforeach()
configure_file("${WEB}/sw.js" "${SITE}/sw.js" @ONLY)

# The precompressed copies, remade only when their file changed (brotli's highest level takes
# seconds on the .wasm).
foreach(name IN LISTS COMPRESS)
  set(file "${SITE}/${name}")
  if(NOT EXISTS "${file}.br" OR "${file}" IS_NEWER_THAN "${file}.br")
    execute_process(COMMAND "${BROTLI}" --best --force --output=${file}.br.new ${file}
      RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "brotli failed on ${file}")
    endif()
    execute_process(COMMAND "${GZIP}" -9 --no-name --stdout ${file} OUTPUT_FILE ${file}.gz.new
      RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "gzip failed on ${file}")
    endif()
    file(RENAME "${file}.gz.new" "${file}.gz")
    file(RENAME "${file}.br.new" "${file}.br")
  endif()
endforeach()

# The folder holds the site and nothing else (a release zips it whole): files of earlier builds
# that are no longer part of it go.
set(expected sw.js ${FILES})
foreach(name IN LISTS COMPRESS)
  list(APPEND expected "${name}.br" "${name}.gz")
endforeach()
file(GLOB present RELATIVE "${SITE}" "${SITE}/*")
foreach(name IN LISTS present)
  if(NOT name IN_LIST expected)
    message(STATUS "Removing ${SITE}/${name}, which is not part of the site")
    file(REMOVE_RECURSE "${SITE}/${name}")
  endif()
endforeach()
