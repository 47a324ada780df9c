# The native build: the in-memory Windows and the headless framework, the unit tests, the fuzzers and
# the benchmarks.
cvfir_backend(cvfir_platform_sim platform/sim cvfir_platform)
cvfir_backend(cvfir_framework_headless framework/headless cvfir_framework)
set(CVFIR_NATIVE_LIBRARIES cvfir_app cvfir_framework_headless cvfir_platform_sim)

add_library(cvfir_art STATIC resources/art/Art.cpp)
target_include_directories(cvfir_art PUBLIC ${CMAKE_SOURCE_DIR})
add_executable(drawart resources/art/drawart_main.cpp)
target_link_libraries(drawart PRIVATE cvfir_art)
# Regenerates the committed pictures after a change to their drawing.
add_custom_target(art COMMAND drawart ${CMAKE_SOURCE_DIR}/resources/wizard.bmp ${CMAKE_SOURCE_DIR}/resources/cvfir.ico
                  DEPENDS drawart)

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB CVFIR_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(cvfir_tests ${CVFIR_UNIT_TESTS})
target_link_libraries(cvfir_tests PRIVATE ${CVFIR_NATIVE_LIBRARIES} cvfir_art GTest::gtest GTest::gmock GTest::gtest_main)
target_compile_definitions(cvfir_tests PRIVATE CVFIR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(cvfir_tests DISCOVERY_TIMEOUT 60)

# The platform layer's contract on the in-memory Windows; the same cases run under Wine in the
# end-to-end stage. The cases of Windows 98 and Me as documented run here alone.
add_executable(cvfir_contract ${CVFIR_CONTRACT_SOURCES} ${CMAKE_SOURCE_DIR}/tests/contract/SimHost.cpp
    ${CMAKE_SOURCE_DIR}/tests/contract/Windows9xDocumented.cpp)
target_link_libraries(cvfir_contract PRIVATE cvfir_platform_sim)
add_test(NAME contract COMMAND cvfir_contract)
# The text services again under Shift-JIS and Big5, as the end-to-end stage runs them under Wine.
foreach(codePage 932 950)
    add_test(NAME contract_${codePage} COMMAND cvfir_contract --code-page ${codePage} Compare CodePage Chars)
endforeach()

if(CVFIR_FUZZ)
    file(GLOB CVFIR_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
    foreach(source ${CVFIR_FUZZERS})
        get_filename_component(name ${source} NAME_WE)
        add_executable(${name} ${source})
        target_link_libraries(${name} PRIVATE ${CVFIR_NATIVE_LIBRARIES})
        # The target's own checks run once per input: optimised like the code they check. They are not
        # counted for coverage, which steers by the program's code alone.
        target_compile_options(${name} PRIVATE -O1)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    endforeach()
endif()

# The benchmarks (Google Benchmark), built on request only: `cmake --build DIR --target cvfir_bench`,
# best in a Release build.
find_package(benchmark QUIET)
if(benchmark_FOUND)
    file(GLOB CVFIR_BENCHMARKS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
    add_executable(cvfir_bench EXCLUDE_FROM_ALL ${CVFIR_BENCHMARKS})
    target_link_libraries(cvfir_bench PRIVATE ${CVFIR_NATIVE_LIBRARIES} benchmark::benchmark)
endif()
