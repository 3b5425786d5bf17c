# Warnings are errors on every compiler; the MinGW runtime is linked statically so the .exe runs
# on any Windows (and Wine) without extra DLLs.
function(fwup_apply_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(FWUP_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer
                                            -fno-sanitize-recover=all)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(MINGW)
    target_link_options(${target} PUBLIC -static -static-libgcc -static-libstdc++)
  endif()
endfunction()
