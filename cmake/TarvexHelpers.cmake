# Adds the subfolders of the current folder that have a CMakeLists.txt, in the given order.
function(tarvex_add_subdirectories)
    foreach(dir IN LISTS ARGN)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()

# tarvex_add_test(NAME SOURCES a.cpp ... LIBS lib ...)
# One Qt Test executable, registered with CTest, run headless with the corpus folder known.
function(tarvex_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVEX_CORPUS=${TARVEX_CORPUS_DIR};TARVEX_CLI=$<TARGET_FILE_DIR:tarvex-cli>/tarvex-cli;GST_PLUGIN_FEATURE_RANK=fakeaudiosink:MAX;ASAN_OPTIONS=detect_leaks=0")
endfunction()

# tarvex_add_fuzzer(NAME SOURCES a.cpp ... LIBS lib ...)
function(tarvex_add_fuzzer name)
    cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
