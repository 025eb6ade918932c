# Benchmarks behind scripts/bench: built only with VELMORA_BENCH on (the
# bench-win32 and bench-host presets), never by the normal builds.
option(VELMORA_BENCH "Build the benchmark programs of scripts/bench" OFF)
if(NOT VELMORA_BENCH)
  return()
endif()

set(VELMORA_BENCH_DIR ${CMAKE_CURRENT_LIST_DIR})

if(WIN32)
  add_library(bench_win32_support STATIC
    ${VELMORA_BENCH_DIR}/bench_clock.cpp
    ${VELMORA_BENCH_DIR}/bench_files.cpp
    ${VELMORA_BENCH_DIR}/bench_tree.cpp
    ${VELMORA_BENCH_DIR}/bench_engine.cpp)
  target_link_libraries(bench_win32_support PUBLIC e2e_support ${VELMORA_WIN32_LINK}
    ${VELMORA_WIN32_LIBS} psapi)

  foreach(name copy_throughput_bench peak_memory_bench abort_latency_bench install_bench
               update_bench)
    add_executable(${name} ${VELMORA_BENCH_DIR}/${name}.cpp)
    target_link_libraries(${name} PRIVATE bench_win32_support)
  endforeach()
  add_dependencies(update_bench Update)

  # The reference of the start-up time: a program that only shows a dialog.
  add_executable(minimal_dialog WIN32 ${VELMORA_BENCH_DIR}/minimal_dialog.cpp)
  target_link_libraries(minimal_dialog PRIVATE user32)
  add_dependencies(update_bench minimal_dialog)

  add_custom_target(bench_programs DEPENDS copy_throughput_bench peak_memory_bench
    abort_latency_bench install_bench update_bench minimal_dialog Update)
else()
  add_executable(host_copy_bench ${VELMORA_BENCH_DIR}/host_copy_bench.cpp)
  target_link_libraries(host_copy_bench PRIVATE
    -Wl,--start-group velmora_core platform_sim -Wl,--end-group Threads::Threads)
  add_custom_target(bench_programs DEPENDS host_copy_bench)
endif()
