# The web client frame under AddressSanitizer. Its sources are compiled into the test program
# itself, so the frame code is instrumented even when the libraries are not.
add_executable(web_client_asan_tests
  ${CMAKE_CURRENT_SOURCE_DIR}/providers/CWebServiceClientTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/FakeHttpServer.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/TestMain.cpp
  ${PROJECT_SOURCE_DIR}/src/providers/CHttpRequest.cpp
  ${PROJECT_SOURCE_DIR}/src/providers/CWebServiceClient.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/OperationQueue.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/Localization.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/Log.cpp)
target_include_directories(web_client_asan_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/support ${PROJECT_SOURCE_DIR}/src/providers
  ${PROJECT_SOURCE_DIR}/src/platform)
target_compile_options(web_client_asan_tests PRIVATE -fsanitize=address -fno-omit-frame-pointer)
target_link_options(web_client_asan_tests PRIVATE -fsanitize=address)
target_link_libraries(web_client_asan_tests PRIVATE
  Qt6::Core Qt6::Network Qt6::Test GTest::gtest PkgConfig::HTTPLIB PkgConfig::ICU)
target_compile_definitions(web_client_asan_tests PRIVATE
  NUMIVA_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
gtest_discover_tests(web_client_asan_tests TEST_PREFIX "asan." DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen;TZ=UTC;LANG=C.UTF-8;ASAN_OPTIONS=detect_leaks=1:abort_on_error=1")
