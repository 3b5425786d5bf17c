if(FWUP_SANITIZE_THREAD)
  # For every target from here down, GoogleTest included: a race is only seen when both sides of
  # it are instrumented. fwup_apply_options adds the same flags to our targets and their users.
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Warnings are errors on every compiler; the MinGW runtime is linked statically so the .exe runs
# on any Windows (and Wine) without extra DLLs.
function(fwup_apply_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(FWUP_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer
                                            -fno-sanitize-recover=all)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(FWUP_SANITIZE_THREAD)
    target_compile_options(${target} PUBLIC -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=thread)
  endif()
  if(MINGW)
    target_link_options(${target} PUBLIC -static -static-libgcc -static-libstdc++)
  endif()
endfunction()
