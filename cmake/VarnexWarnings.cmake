# varnex_target_defaults(target): warnings (as errors with VARNEX_WERROR) and sanitizers.
function(varnex_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Woverloaded-virtual
                                             -Wno-missing-field-initializers)
    if(VARNEX_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

if(VARNEX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
