# Fails unless the library's dynamic symbol table defines exactly its six
# entry points: cmake -DNM=nm -DLIBRARY=path/libhid_usb.so -P this-file
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
    OUTPUT_VARIABLE table RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${NM} could not read ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${table}")
set(names)
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^.* " "" name "${line}")
    list(APPEND names ${name})
endforeach()
list(SORT names)
set(expected CloseHandles Enumerate_HID Init_HID Open_HID_Path ReadInputReport
    WriteOutputReport)
if(NOT names STREQUAL expected)
    message(FATAL_ERROR "exports are [${names}], expected [${expected}]")
endif()
