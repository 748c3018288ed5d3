# libFuzzer target for the remote control's reading of a whole connection:
# request screening, judging, routing, the WebSocket handshake and frames,
# and command parsing, compiled from their sources with the fuzzer's
# instrumentation; Qt Core and Network come as they are.
find_package(Qt6 REQUIRED COMPONENTS Core Network)
add_executable(remote_connection_fuzzer
  RemoteConnectionFuzzer.cpp
  ${PROJECT_SOURCE_DIR}/remote/ConnectionReader.cpp
  ${PROJECT_SOURCE_DIR}/remote/RequestScreen.cpp
  ${PROJECT_SOURCE_DIR}/remote/RequestJudge.cpp
  ${PROJECT_SOURCE_DIR}/remote/RemoteRoutes.cpp
  ${PROJECT_SOURCE_DIR}/remote/RemoteCommand.cpp
  ${PROJECT_SOURCE_DIR}/remote/RemoteScript.cpp
  ${PROJECT_SOURCE_DIR}/remote/WebSocketFrames.cpp
  ${PROJECT_SOURCE_DIR}/remote/WebSocketHandshake.cpp)
target_include_directories(remote_connection_fuzzer PRIVATE
  ${PROJECT_SOURCE_DIR}/remote ${PROJECT_SOURCE_DIR}/core)
target_link_libraries(remote_connection_fuzzer PRIVATE Qt6::Core Qt6::Network)
vellor_instrument_fuzzer(remote_connection_fuzzer)
