# One GoogleTest executable per test folder, registered with ctest.
#   termika_add_test(NAME <name> [GUI] LIBS <targets...>)
# Every *.cpp of the calling folder is a source. GUI tests get a QApplication,
# the others a QCoreApplication (both from the shared main).
function(termika_add_test)
  cmake_parse_arguments(T "GUI" "NAME" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${T_NAME} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock Qt6::Test)
  if(T_GUI)
    target_compile_definitions(${T_NAME} PRIVATE TERMIKA_GUI_TEST=1)
    target_link_libraries(${T_NAME} PRIVATE Qt6::Widgets)
  endif()
  termika_strict(${T_NAME})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TERMIKA_SOURCE_DIR=${PROJECT_SOURCE_DIR};TERMIKA_BINARY_DIR=${PROJECT_BINARY_DIR}"
    TIMEOUT 600)
endfunction()
