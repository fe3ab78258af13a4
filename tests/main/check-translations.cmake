# cmake -DLUPDATE=... -DTS=... -DSOURCES=LIST -DCOPY=... -P check-translations.cmake
# Fails, naming each one, when a text of the sources has no finished translation in TS.
file(COPY_FILE ${TS} ${COPY})
execute_process(COMMAND ${LUPDATE} -locations none -no-obsolete @${SOURCES} -ts ${COPY}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed: ${errors}")
endif()
file(READ ${COPY} ts)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" missing "${ts}")
if(missing)
    string(REGEX REPLACE "[ \n]*<translation type=\"unfinished\"" "" missing "${missing}")
    string(REPLACE ";" "\n" missing "${missing}")
    message(FATAL_ERROR "texts without a Portuguese translation (run the update_translations "
                        "target and translate them):\n${missing}")
endif()
