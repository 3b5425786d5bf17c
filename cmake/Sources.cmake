# Which files make up each room of src/. Shared by the main build and the fuzz build (fuzz/), so
# that a new source file reaches both.

get_filename_component(FWUP_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

# Platform folders are named after what they wrap; each platform builds only its own. The window
# layers (ui/win32, ui/qt) are libraries of their own.
if(WIN32)
  set(FWUP_PLATFORM_FOLDERS win32)
else()
  set(FWUP_PLATFORM_FOLDERS posix libusb cups)
endif()

# fwup_room_sources(<out-var> <room>): the room's portable sources and those of this platform's
# folders inside it.
function(fwup_room_sources outVar room)
  set(patterns ${FWUP_SOURCE_ROOT}/src/${room}/*.cpp)
  foreach(folder IN LISTS FWUP_PLATFORM_FOLDERS)
    list(APPEND patterns ${FWUP_SOURCE_ROOT}/src/${room}/${folder}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  set(${outVar} ${sources} PARENT_SCOPE)
endfunction()
