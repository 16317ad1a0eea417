# Warnings for the project's own targets; third-party headers stay quiet
# because they come in as SYSTEM includes.
function(kv_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wcast-align -Wconversion -Wsign-conversion
   )
endfunction()
