# The Windows build's tests, cross-compiled (cross.cmake) and run under Wine.
add_test(NAME win32.core COMMAND core_tests)
# Again under a C runtime locale that writes decimals with a comma.
add_test(NAME win32.core.German COMMAND core_tests)
set_tests_properties(win32.core.German PROPERTIES ENVIRONMENT "LINTERP_TEST_LOCALE=German_Germany.1252")

if(LINTERP_WINDOW)
    # With the program's own resources: the same controls and DPI awareness.
    add_executable(win32_window_tests win32_window_test.cpp ${PROJECT_BINARY_DIR}/window/win32/linterp.rc)
    target_link_libraries(win32_window_tests PRIVATE linterp_win32_window linterp_fake_form linterp_options GTest::gtest version)
    add_test(NAME win32.window COMMAND win32_window_tests)
    add_test(NAME win32.window.German COMMAND win32_window_tests)
    set_tests_properties(win32.window.German PROPERTIES ENVIRONMENT "LINTERP_TEST_LOCALE=German_Germany.1252")
    # Again on the paths Windows 7 takes where the newer DPI functions are missing.
    add_test(NAME win32.window.Windows7Fallbacks COMMAND win32_window_tests --fallbacks)

    # The screen reader's side, in a process of its own.
    add_executable(msaa_names msaa_names.cpp)
    target_link_options(msaa_names PRIVATE -municode)
    target_link_libraries(msaa_names PRIVATE linterp_options oleacc ole32 oleaut32)
    add_dependencies(win32_window_tests msaa_names)
    target_compile_definitions(win32_window_tests PRIVATE MSAA_NAMES_EXE="msaa_names.exe")

    # Every function the program imports is there on Windows 7 SP1.
    add_test(NAME win32.ImportsRunOnWindows7
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-imports.sh $<TARGET_FILE:linterp>
                ${PROJECT_SOURCE_DIR}/window/win32/imports.txt)
    set_tests_properties(win32.ImportsRunOnWindows7 PROPERTIES
        ENVIRONMENT "OBJDUMP=${CMAKE_OBJDUMP}")

    # The program needs no DLL beyond Windows' own.
    add_test(NAME win32.LinksOnlySystemDlls
        COMMAND sh -c "\"$1\" -p \"$0\" | sed -n 's/^\\tDLL Name: //p' | tr A-Z a-z | sort -u | tr '\\n' ' '; echo end"
                $<TARGET_FILE:linterp> ${CMAKE_OBJDUMP})
    set_tests_properties(win32.LinksOnlySystemDlls PROPERTIES
        PASS_REGULAR_EXPRESSION "^(((advapi32|comctl32|gdi32|kernel32|msvcrt|user32|shell32|ole32|api-ms-win-[a-z0-9-]+)\\.dll) )+end")
endif()
