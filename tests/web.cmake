# The WebAssembly build's tests: the core suites under Node.js, then the page
# (web_test.py) in a real browser of each engine its users have: Debian's
# Chromium (chromedriver), Firefox ESR (WebDriver BiDi) and WebKitGTK
# (WebKitWebDriver), through python3-selenium.
target_link_options(core_tests PRIVATE -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1)
add_test(NAME web.core COMMAND ${LINTERP_NODE_RUN} $<TARGET_FILE:core_tests>)

find_program(LINTERP_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)

# WebKitGTK takes the page's languages from the C library's locale, which
# need not be generated on the machine: the suite's are compiled here.
set(LINTERP_LOCALE_DIR ${CMAKE_CURRENT_BINARY_DIR}/locale)
add_test(NAME web.MakeLocales COMMAND sh -c "\"$0\" \"$1\" zh_CN && \"$0\" \"$1\" de_DE"
         ${CMAKE_CURRENT_SOURCE_DIR}/make-locale.sh ${LINTERP_LOCALE_DIR})
set_tests_properties(web.MakeLocales PROPERTIES FIXTURES_SETUP web_locales)

foreach(engine chromium firefox webkit)
    add_test(NAME web.page.${engine}
        COMMAND ${LINTERP_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/web_test.py --engine=${engine}
                ${LINTERP_WEB_SITE} ${LINTERP_WEB_LAYOUT_JSON})
    # A suite takes one to four minutes; on a loaded machine more.
    set_tests_properties(web.page.${engine} PROPERTIES TIMEOUT 900
        ENVIRONMENT "LINTERP_LOCALE_DIR=${LINTERP_LOCALE_DIR}" FIXTURES_REQUIRED web_locales)
endforeach()
