# Adds the subfolders of the current folder that have a CMakeLists.txt, in the given order.
function(tarvex_add_subdirectories)
    foreach(dir IN LISTS ARGN)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()

# tarvex_add_test(NAME SOURCES a.cpp ... LIBS lib ...)
# One Qt Test executable, registered with CTest, run headless with the corpus folder known, in
# the C locale with no language preference, so that it sees the program in French whatever the
# machine's language.
function(tarvex_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    # moc reads a test's classes from its file alone. Given the include path, as AUTOMOC gives
    # it, moc also parses every Qt header the test includes: two seconds a test, for the same
    # output.
    set_target_properties(${name} PROPERTIES AUTOMOC OFF)
    set(moc_dir ${CMAKE_CURRENT_BINARY_DIR}/${name}_moc)
    foreach(source IN LISTS T_SOURCES)
        get_filename_component(stem ${source} NAME_WE)
        get_filename_component(path ${source} ABSOLUTE)
        add_custom_command(OUTPUT ${moc_dir}/${stem}.moc
            COMMAND Qt6::moc -o ${moc_dir}/${stem}.moc ${path}
            DEPENDS ${path} Qt6::moc
            COMMENT "moc ${stem}.cpp" VERBATIM)
        target_sources(${name} PRIVATE ${moc_dir}/${stem}.moc)
    endforeach()
    target_include_directories(${name} PRIVATE ${moc_dir})
    # Tests may run tarvex-cli (TARVEX_CLI below): building a test builds it too.
    if(TARGET tarvex-cli)
        add_dependencies(${name} tarvex-cli)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    # Files the tests delete go to a trash inside the build folder, never to the user's own.
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "LC_ALL=C;LANGUAGE=;QT_QPA_PLATFORM=offscreen;TARVEX_CORPUS=${TARVEX_CORPUS_DIR};TARVEX_CLI=$<TARGET_FILE_DIR:tarvex-cli>/tarvex-cli;GST_PLUGIN_FEATURE_RANK=fakeaudiosink:MAX;ASAN_OPTIONS=detect_leaks=0;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-data-home")
endfunction()

# tarvex_add_fuzzer(NAME SOURCES a.cpp ... LIBS lib ...)
function(tarvex_add_fuzzer name)
    cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# tarvex_add_library(NAME LIBS lib ...): a static library of every .cpp/.h of the current
# folder, its include path being src/ so that code includes "tags/id3v1.h".
function(tarvex_add_library name)
    cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${L_LIBS})
    tarvex_precompile_headers(${name})
endfunction()

# tarvex_precompile_headers(TARGET): when files are compiled one by one, the target parses the
# common Qt and standard headers once (cmake/precompiled.h) instead of once per file.
function(tarvex_precompile_headers target)
    get_target_property(unity ${target} UNITY_BUILD)
    if(TARVEX_PCH AND NOT unity)
        target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/precompiled.h)
    endif()
endfunction()

# tarvex_add_tests(LIBS lib ...): one test executable per tst_*.cpp of the current folder.
function(tarvex_add_tests)
    cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    foreach(source IN LISTS tests)
        get_filename_component(name ${source} NAME_WE)
        get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
        tarvex_add_test(${folder}_${name} SOURCES ${source} LIBS ${A_LIBS})
    endforeach()
endfunction()

# tarvex_add_fuzzers(LIBS lib ...): one libFuzzer target per fuzz_*.cpp of the current folder.
function(tarvex_add_fuzzers)
    cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
    file(GLOB targets CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_*.cpp)
    foreach(source IN LISTS targets)
        get_filename_component(name ${source} NAME_WE)
        tarvex_add_fuzzer(${name} SOURCES ${source} LIBS ${A_LIBS})
    endforeach()
endfunction()
