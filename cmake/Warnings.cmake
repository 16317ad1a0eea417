# Warnings for the project's own targets; third-party headers stay quiet
# because they come in as SYSTEM includes.
function(kv_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wcast-align -Wconversion -Wsign-conversion
    # GCC 12 warns about std::string's own copies when "text" + string is
    # inlined at -O2 (GCC bug 105651, fixed in 13); the warning says nothing
    # about our code.
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>
   )
endfunction()
