# The WebAssembly build's tests: the core suites under Node.js, then the page
# in a real headless Chromium (web_test.py, Debian's chromium, chromedriver and
# python3-selenium).
target_link_options(core_tests PRIVATE -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1)
add_test(NAME web.core COMMAND ${LINTERP_NODE_RUN} $<TARGET_FILE:core_tests>)

find_program(LINTERP_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
add_test(NAME web.page
    COMMAND ${LINTERP_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/web_test.py ${LINTERP_WEB_SITE}
            ${LINTERP_WEB_LAYOUT_JSON})
