# CORVANE_SCRIPT_TOOL: a corvane-script that runs on the build machine. A
# native build uses its own; a cross build makes one in a sub-build.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(host_dir ${CMAKE_BINARY_DIR}/host-tools)
  ExternalProject_Add(corvane_host_tools
    SOURCE_DIR ${CORVANE_ROOT}/tools/host
    BINARY_DIR ${host_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ -G Ninja
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${host_dir}/corvane-script/corvane-script)
  set(CORVANE_SCRIPT_TOOL ${host_dir}/corvane-script/corvane-script)
  set(CORVANE_SCRIPT_TOOL_TARGET corvane_host_tools)
else()
  set(CORVANE_SCRIPT_TOOL $<TARGET_FILE:corvane-script>)
  set(CORVANE_SCRIPT_TOOL_TARGET corvane-script)
endif()
