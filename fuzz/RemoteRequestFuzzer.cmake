# libFuzzer target for the remote control's request screening, routing and
# command parsing, compiled from the parsing sources with the fuzzer's
# instrumentation; Qt Core comes as it is.
find_package(Qt6 REQUIRED COMPONENTS Core)
add_executable(remote_request_fuzzer
  RemoteRequestFuzzer.cpp
  ${PROJECT_SOURCE_DIR}/remote/RequestScreen.cpp
  ${PROJECT_SOURCE_DIR}/remote/RemoteRoutes.cpp
  ${PROJECT_SOURCE_DIR}/remote/RemoteCommand.cpp)
target_include_directories(remote_request_fuzzer PRIVATE
  ${PROJECT_SOURCE_DIR}/remote ${PROJECT_SOURCE_DIR}/core)
target_compile_options(remote_request_fuzzer PRIVATE ${VELLOR_FUZZ_FLAGS})
target_link_options(remote_request_fuzzer PRIVATE ${VELLOR_FUZZ_FLAGS})
target_link_libraries(remote_request_fuzzer PRIVATE Qt6::Core vellor_warnings)
set_target_properties(remote_request_fuzzer PROPERTIES AUTOMOC OFF)
