# What ships is stripped: under Wine the debug sections of a 6 MB program stay mapped as private
# memory for as long as it runs. Each shipped binary is copied without its symbols and debug
# information into dist/, and that information is kept in symbols/<name>.debug, which the
# stripped copy names in its .gnu_debuglink section so that a debugger (gdb, or winedbg with
# the file beside it) finds it for a crash report.
set(LINKSCOPE_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
set(LINKSCOPE_SYMBOLS_DIR ${CMAKE_BINARY_DIR}/symbols)

file(MAKE_DIRECTORY ${LINKSCOPE_DIST_DIR} ${LINKSCOPE_SYMBOLS_DIR})

if(NOT CMAKE_OBJCOPY OR NOT CMAKE_STRIP)
  message(FATAL_ERROR "objcopy and strip of the toolchain are needed for the shipped binaries")
endif()

function(linkscope_ship target)
  set(name $<TARGET_FILE_NAME:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}>
            ${LINKSCOPE_SYMBOLS_DIR}/${name}.debug
    COMMAND ${CMAKE_STRIP} --strip-all -o ${LINKSCOPE_DIST_DIR}/${name} $<TARGET_FILE:${target}>
    # The link holds the debug file's name and checksum; objcopy reads it from the folder.
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${name}.debug ${LINKSCOPE_DIST_DIR}/${name}
    WORKING_DIRECTORY ${LINKSCOPE_SYMBOLS_DIR}
    COMMENT "Stripping ${target} into dist/, its debug information into symbols/"
    VERBATIM)
endfunction()
