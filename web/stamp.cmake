# Writes the service worker: FILES, the site's files, become its list of
# what to store (@FILES@) and the name of its store (@VERSION@), made of
# their contents.
#   cmake -DTEMPLATE=sw.js.in -DOUTPUT=sw.js -DFILES="a;b" -P stamp.cmake
set(hashes "")
set(names "")
foreach(file IN LISTS FILES)
    file(SHA256 ${file} hash)
    string(APPEND hashes ${hash})
    get_filename_component(name ${file} NAME)
    string(APPEND names ", \"${name}\"")
endforeach()
string(SHA256 VERSION "${hashes}")
string(SUBSTRING ${VERSION} 0 16 VERSION)
set(FILES "\"./\"${names}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
