# libFuzzer target for a follower's reading of what its leader sends:
# message parsing, script pieces, places and clock answers, compiled from
# their sources with the fuzzer's instrumentation; Qt Core comes as it is.
add_executable(follower_stream_fuzzer
  FollowerStreamFuzzer.cpp
  ${PROJECT_SOURCE_DIR}/remote/FollowerStream.cpp
  ${PROJECT_SOURCE_DIR}/remote/FollowMessages.cpp
  ${PROJECT_SOURCE_DIR}/remote/ClockOffset.cpp
  ${PROJECT_SOURCE_DIR}/remote/RemoteCommand.cpp)
target_include_directories(follower_stream_fuzzer PRIVATE
  ${PROJECT_SOURCE_DIR}/remote ${PROJECT_SOURCE_DIR}/core)
target_link_libraries(follower_stream_fuzzer PRIVATE Qt6::Core Qt6::Gui)
vellor_instrument_fuzzer(follower_stream_fuzzer)
