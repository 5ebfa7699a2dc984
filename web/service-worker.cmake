# Writes the site's sw.js (run by `cmake -P` after the site's other files are in place): the
# service worker's template with the build named by a hash of every file it caches, so that a
# changed file makes a new worker and a new cache, and an unchanged build keeps both.
# Takes -DSITE=<folder of the site> -DTEMPLATE=<web/sw.js>.
file(READ "${TEMPLATE}" template)
string(REGEX MATCH "const Files = \\[[^]]*\\]" files "${template}")
string(REGEX MATCHALL "'[^']+'" names "${files}")
set(hashes "")
foreach(name IN LISTS names)
  string(REPLACE "'" "" name "${name}")
  if(name STREQUAL "./")
    set(name index.html)
  endif()
  file(SHA256 "${SITE}/${name}" hash)
  string(APPEND hashes "${hash}")
endforeach()
string(SHA256 build "${hashes}")
string(SUBSTRING "${build}" 0 16 ZARNEL_BUILD)
configure_file("${TEMPLATE}" "${SITE}/sw.js" @ONLY)
