# The Win32 front end: vexar.exe, its resources and the Win32 tests that run under Wine.
set(win32_sources "")
set(win32_test_sources "")
foreach(dir ${VEXAR_SUBSYSTEMS})
    # A front end may keep its rooms in folders of their own (app/win32/frame, ...).
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/win32/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/win32/*/*.cpp)
    list(FILTER found EXCLUDE REGEX "/win32/tests/")
    list(APPEND win32_sources ${found})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/win32/tests/*.cpp)
    list(APPEND win32_test_sources ${found})
endforeach()
list(FILTER win32_sources EXCLUDE REGEX "/app/win32/winmain\\.cpp$")
list(FILTER win32_sources EXCLUDE REGEX "/base/win32/")

set(VEXAR_WIN32_SYSTEM_LIBS comctl32 comdlg32 shell32 version ole32 uuid gdi32 user32 advapi32 ws2_32)

add_library(vexar_win32 STATIC ${win32_sources})
target_link_libraries(vexar_win32 PUBLIC vexar_core ${VEXAR_WIN32_SYSTEM_LIBS})

add_executable(vexar WIN32 ${CMAKE_SOURCE_DIR}/app/win32/winmain.cpp ${CMAKE_SOURCE_DIR}/resources/vexar.rc)
target_link_libraries(vexar PRIVATE vexar_win32)
set_target_properties(vexar PROPERTIES OUTPUT_NAME vexar)

file(GLOB win32_testing_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/testing/win32/*.cpp)
# The installer's steps are tested here too, without its payload.
file(GLOB installer_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/installer/win32/tests/*.cpp)
add_executable(vexar_win32_tests ${win32_test_sources} ${win32_testing_sources} ${CMAKE_SOURCE_DIR}/testing/gtest_main.cc
                                 ${installer_test_sources} ${CMAKE_SOURCE_DIR}/installer/win32/install_steps.cpp
                                 ${CMAKE_SOURCE_DIR}/resources/vexar.rc)
target_link_libraries(vexar_win32_tests PRIVATE vexar_win32 vexar_testing ${GTEST_LIBS})
target_include_directories(vexar_win32_tests PRIVATE /usr/src/googletest/googletest/include)
add_test(NAME win32_tests COMMAND vexar_win32_tests)
set_tests_properties(win32_tests PROPERTIES TIMEOUT 600)

# The installer: vexar-setup.exe carries the freshly built vexar.exe, the default vexar.ini and the
# two shipped colour schemes (both generated from their tables) as resources.
set(VEXAR_PAYLOAD ${CMAKE_BINARY_DIR}/payload)
set(VEXAR_PROGRAM ${CMAKE_BINARY_DIR}/vexar.exe)
set(VEXAR_RESOURCES ${CMAKE_SOURCE_DIR}/resources)
set(payload_files ${VEXAR_PAYLOAD}/vexar.ini ${VEXAR_PAYLOAD}/sky-zox.vxc ${VEXAR_PAYLOAD}/metallic-rook.vxc)
add_custom_command(OUTPUT ${payload_files}
    COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/make-installer-payload.py ${VEXAR_PAYLOAD}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-installer-payload.py
    COMMENT "Generating the installer's vexar.ini and colour schemes")
configure_file(${CMAKE_SOURCE_DIR}/resources/installer.rc.in ${CMAKE_BINARY_DIR}/installer.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/installer.rc PROPERTIES
    OBJECT_DEPENDS "${payload_files};${VEXAR_PROGRAM}")
add_executable(vexar-setup WIN32
    ${CMAKE_SOURCE_DIR}/installer/win32/setup_main.cpp
    ${CMAKE_SOURCE_DIR}/installer/win32/install_steps.cpp
    ${CMAKE_BINARY_DIR}/installer.rc)
target_include_directories(vexar-setup PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
# The folder goes to the registry through the program's own settings store.
target_link_libraries(vexar-setup PRIVATE vexar_win32 shell32 ole32 uuid advapi32 user32)
add_dependencies(vexar-setup vexar)

# The black-box driver of the end-to-end tests.
add_executable(vexar-driver
    ${CMAKE_SOURCE_DIR}/testing/driver/driver.cpp
    ${CMAKE_SOURCE_DIR}/testing/driver/support.cpp
    ${CMAKE_SOURCE_DIR}/testing/driver/remote_buffer.cpp
    ${CMAKE_SOURCE_DIR}/testing/driver/program_windows.cpp
    ${CMAKE_SOURCE_DIR}/testing/driver/inside_query.cpp
    ${CMAKE_SOURCE_DIR}/testing/driver/window_actions.cpp
    ${CMAKE_SOURCE_DIR}/testing/driver/dialog_actions.cpp
    ${CMAKE_SOURCE_DIR}/testing/driver/list_actions.cpp
    ${CMAKE_SOURCE_DIR}/testing/driver/registry_actions.cpp
    ${CMAKE_SOURCE_DIR}/testing/driver/shell_actions.cpp)
target_link_libraries(vexar-driver PRIVATE comctl32 user32 advapi32 shell32 ole32 uuid)

# Stand-ins for the programs a join starts or talks to: a game and an IRC client's DDE server.
add_executable(vexar-game WIN32 ${CMAKE_SOURCE_DIR}/testing/fixtures/win32/game_standin.cpp)
add_executable(vexar-dde-server ${CMAKE_SOURCE_DIR}/testing/fixtures/win32/dde_server.cpp)
target_link_libraries(vexar-dde-server PRIVATE user32)
add_dependencies(vexar-driver vexar-game vexar-dde-server vexar-setup)

# The numbers the end-to-end tests use (command, dialog and control ids, key codes), taken from the
# headers as this build's compiler reads them.
set(VEXAR_IDS ${CMAKE_BINARY_DIR}/vexar_ids.py)
set(VEXAR_ID_HEADERS ${CMAKE_SOURCE_DIR}/resources/resource.h ${CMAKE_SOURCE_DIR}/resources/installer_ids.h)
add_custom_command(OUTPUT ${VEXAR_IDS}
    COMMAND ${CMAKE_CXX_COMPILER} -dM -E -x c++ -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601
            -DWINVER=0x0601 -I${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/testing/e2e/program_ids.h
            -o ${CMAKE_BINARY_DIR}/program_ids.macros
    COMMAND python3 ${CMAKE_SOURCE_DIR}/testing/e2e/make_ids.py ${CMAKE_BINARY_DIR}/program_ids.macros ${VEXAR_IDS}
            ${VEXAR_ID_HEADERS}
    DEPENDS ${CMAKE_SOURCE_DIR}/testing/e2e/program_ids.h ${CMAKE_SOURCE_DIR}/testing/e2e/make_ids.py ${VEXAR_ID_HEADERS}
    COMMENT "Generating the end-to-end tests' ids from the program's headers")
add_custom_target(vexar-ids DEPENDS ${VEXAR_IDS})
add_dependencies(vexar-driver vexar-ids)

# End-to-end suites: the real program under Wine, driven from outside.
foreach(suite shell network views join games installer refresh saves steam rcon)
    add_test(NAME e2e_${suite} COMMAND python3 ${CMAKE_SOURCE_DIR}/testing/e2e/run.py ${CMAKE_BINARY_DIR} ${suite})
    set_tests_properties(e2e_${suite} PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)
endforeach()
add_library(vexar-driver-hook SHARED ${CMAKE_SOURCE_DIR}/testing/driver/hook.cpp)
set_target_properties(vexar-driver-hook PROPERTIES PREFIX "")
target_link_libraries(vexar-driver-hook PRIVATE user32)
target_link_options(vexar-driver-hook PRIVATE -Wl,--kill-at)
add_dependencies(vexar-driver vexar-driver-hook)
target_include_directories(vexar-driver PRIVATE ${CMAKE_SOURCE_DIR})
target_include_directories(vexar-driver-hook PRIVATE ${CMAKE_SOURCE_DIR})

# Benchmark of the list panes at 30,000 servers; run by hand under Wine.
add_executable(vexar_panes_bench ${CMAKE_SOURCE_DIR}/bench/win32/panes_bench.cpp ${CMAKE_SOURCE_DIR}/resources/vexar.rc)
target_link_libraries(vexar_panes_bench PRIVATE vexar_win32 vexar_testing psapi)
