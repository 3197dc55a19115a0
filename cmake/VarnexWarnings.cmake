# varnex_target_defaults(target): warnings (as errors with VARNEX_WERROR) and sanitizers.
function(varnex_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Woverloaded-virtual
                                             -Wno-missing-field-initializers)
    if(VARNEX_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

if(VARNEX_TSAN AND VARNEX_SANITIZE)
    message(FATAL_ERROR "VARNEX_TSAN and VARNEX_SANITIZE exclude each other: use two build folders")
endif()
# Debian's Qt is not built with ThreadSanitizer, which would then miss what Qt synchronises.
if(VARNEX_TSAN AND VARNEX_BUILD_GUI)
    message(FATAL_ERROR "VARNEX_TSAN needs -DVARNEX_BUILD_GUI=OFF: Qt is not built for ThreadSanitizer")
endif()

if(VARNEX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(VARNEX_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
