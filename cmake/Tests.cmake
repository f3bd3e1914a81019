# The environment every test runs in: the offscreen platform, and under the
# sanitizers a halt on the first report. Qt is not built with the sanitizers,
# but the suite runs leak-free without suppressions.
set(DESIGNER_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false")
if(DESIGNER_SANITIZE)
    list(APPEND DESIGNER_TEST_ENVIRONMENT
        "ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
        "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
endif()

# add_unit_test(NAME source LIBS lib...): one test executable per unit, linked
# only to what it tests. Tests that touch Qt run on the offscreen platform.
function(add_unit_test name source)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${DESIGNER_TEST_ENVIRONMENT}" TIMEOUT 300)
endfunction()

# add_widget_test(NAME source LIBS lib...): as add_unit_test, for tests that
# need a QApplication; the shared main creates it on the offscreen platform.
function(add_widget_test name source)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    add_executable(${name} ${source} ${PROJECT_SOURCE_DIR}/tests/support/qt_main.cpp)
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Widgets Qt6::Test GTest::gtest)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${DESIGNER_TEST_ENVIRONMENT}" TIMEOUT 300)
endfunction()

# add_gui_test(NAME source LIBS lib...): as add_unit_test, for tests below the
# widgets that paint text or pictures; the shared main creates a
# QGuiApplication on the offscreen platform. No Qt Widgets.
function(add_gui_test name source)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    add_executable(${name} ${source} ${PROJECT_SOURCE_DIR}/tests/support/gui_main.cpp)
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Gui GTest::gtest)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${DESIGNER_TEST_ENVIRONMENT}" TIMEOUT 300)
endfunction()
