# scrivo_add_test(NAME name SOURCES ... LIBS ... [DISPLAY offscreen|x11] [SERIAL])
#
# Builds one GoogleTest executable and registers each of its cases with CTest as a process of its
# own. DISPLAY offscreen runs Qt without a window system; x11 needs an X server (the test command
# runs the suite under Xvfb). SERIAL keeps the cases from running beside any other test, for
# cases that change what the whole X server shows (its display mode).
function(scrivo_add_test)
    cmake_parse_arguments(T "SERIAL" "NAME;DISPLAY" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    if(SCRIVO_SANITIZE)
        target_sources(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/SanitizerDefaults.cpp)
        target_compile_definitions(${T_NAME} PRIVATE
            SCRIVO_LSAN_SUPPRESSIONS="${PROJECT_SOURCE_DIR}/tests/lsan.supp")
    endif()
    # ENVIRONMENT takes one variable here: gtest_discover_tests does not keep a list intact.
    set(environment "")
    if(T_DISPLAY STREQUAL "offscreen")
        set(environment ENVIRONMENT QT_QPA_PLATFORM=offscreen)
    endif()
    if(T_SERIAL)
        list(APPEND environment RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${T_NAME}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ${environment} TIMEOUT 120)
endfunction()
