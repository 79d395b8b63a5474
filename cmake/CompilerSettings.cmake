# Warnings and sanitizers shared by every target.
function(qn_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

if(QN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
