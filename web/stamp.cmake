# Writes the service worker with a version made of its files' contents.
#   cmake -DTEMPLATE=sw.js.in -DOUTPUT=sw.js -DFILES="a;b" -P stamp.cmake
set(hashes "")
foreach(file IN LISTS FILES)
    file(SHA256 ${file} hash)
    string(APPEND hashes ${hash})
endforeach()
string(SHA256 VERSION "${hashes}")
string(SUBSTRING ${VERSION} 0 16 VERSION)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
