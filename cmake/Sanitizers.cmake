# The test build runs under ASan and UBSan; any report must fail the run, so
# UBSan does not recover and ASan aborts on the first error.
if(KV_SANITIZE)
  set(KV_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${KV_SANITIZER_FLAGS})
  add_link_options(${KV_SANITIZER_FLAGS})
endif()

if(KV_LIBFUZZER)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KV_LIBFUZZER needs clang (use the 'fuzz' preset)")
  endif()
  # Everything gets coverage instrumentation; only fuzz targets link the driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Under the sanitizers, optimising costs three to four times the compile
# time of a file full of templates (GoogleTest, CLI11). Test code and the
# command-line glue do little work at run time, so they are built
# unoptimised; the engine keeps the preset's level and the suite stays fast.
function(kv_compile_quickly target)
  if(KV_SANITIZE)
    target_compile_options(${target} PRIVATE -O0)
  endif()
endfunction()
