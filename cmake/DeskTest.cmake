# desk_test(GROUP name LIBS lib... SOURCES file...)
#
# One test program: built beside its sources' build folder, linked with the
# given libraries and Qt Test, run offscreen by CTest as GROUP.name. It
# finds the pristine shipped files, the program's folder (tools such as
# cidsim) and its own folder (helper programs) through compile definitions,
# and the shared test headers of the core and the line.
function(desk_test group name)
    cmake_parse_arguments(T "" "" "LIBS;SOURCES" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test)
    target_compile_definitions(${name} PRIVATE SHIPPED_DATA_DIR="${DESK_SHIPPED_DIR}" BIN_DIR="${DESK_BIN_DIR}"
                                               TEST_BIN_DIR="${CMAKE_CURRENT_BINARY_DIR}")
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/desk/core/tests
                                               ${CMAKE_SOURCE_DIR}/desk/callerid/tests)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    add_dependencies(${name} shipped_data)
    add_test(NAME ${group}.${name} COMMAND ${name})
    set_tests_properties(${group}.${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
