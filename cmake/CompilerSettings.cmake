# Warnings and sanitizers shared by every target.
option(QN_WERROR "Treat compiler warnings as errors" ON)

function(qn_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
  if(QN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(QN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
