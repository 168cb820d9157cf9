# One function adds a fuzz target: a source file defining LLVMFuzzerTestOneInput, its seed
# corpus in corpus/<name> and the inputs that once found a fault in regressions/<name>.
#
# With LINKSCOPE_FUZZ (clang, scripts/fuzz) it builds fuzz_<name>, a libFuzzer program under
# AddressSanitizer and UndefinedBehaviorSanitizer. In every other native build it builds
# replay_<name>, the same source over a small main that runs each kept input once, and a ctest
# test that replays both folders, so the native and native-asan tests run every kept input.
#
#   linkscope_add_fuzz_target(<name> <source> [LIBRARIES <lib>...])
function(linkscope_add_fuzz_target name source)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "LIBRARIES")
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  set(regressions ${CMAKE_CURRENT_SOURCE_DIR}/regressions/${name})
  if(LINKSCOPE_FUZZ)
    add_executable(fuzz_${name} ${source})
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    set(target fuzz_${name})
  else()
    add_executable(replay_${name} ${source} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/ReplayMain.cpp)
    add_test(NAME fuzz_replay_${name} COMMAND replay_${name} ${corpus} ${regressions})
    set(target replay_${name})
  endif()
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/..)
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} linkscope_fakes linkscope_warnings)
  set_property(GLOBAL APPEND PROPERTY LINKSCOPE_FUZZ_TARGETS ${name})
endfunction()
