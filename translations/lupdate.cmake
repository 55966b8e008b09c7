# Runs lupdate over the sources into the English catalogue, the one way the catalogue is made.
#   cmake -DLUPDATE=... -DSOURCE_DIR=... -DTS_FILE=... -P lupdate.cmake
# With -DCHECK_DIR=folder, it updates a copy in that folder instead and fails when the copy
# differs from the catalogue (a text added, changed or removed without the catalogue following)
# or when a message has no translation.
set(target ${TS_FILE})
if(CHECK_DIR)
    get_filename_component(name ${TS_FILE} NAME)
    set(target ${CHECK_DIR}/${name})
    file(COPY_FILE ${TS_FILE} ${target})
endif()
execute_process(COMMAND ${LUPDATE} -silent -locations none -no-obsolete -source-language fr_FR
        -target-language en ${SOURCE_DIR}/src ${SOURCE_DIR}/cli -ts ${target}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed")
endif()
if(CHECK_DIR)
    file(READ ${TS_FILE} committed)
    file(READ ${target} updated)
    if(NOT committed STREQUAL updated)
        message(FATAL_ERROR "${TS_FILE} is not in step with the sources: run "
            "`cmake --build build --target tarvex_update_translation` and translate the new texts")
    endif()
    string(FIND "${committed}" "type=\"unfinished\"" unfinished)
    if(NOT unfinished EQUAL -1)
        message(FATAL_ERROR "${TS_FILE} has messages without a translation")
    endif()
endif()
