# One compile policy that every target links.
add_library(partsmith_policy INTERFACE)
target_compile_features(partsmith_policy INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(partsmith_policy INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Wshadow
  $<$<BOOL:${PARTSMITH_WERROR}>:-Werror>)
target_compile_definitions(partsmith_policy INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT
  PARTSMITH_VERSION="${PROJECT_VERSION}")
if(PARTSMITH_SANITIZE)
  target_compile_options(partsmith_policy INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(partsmith_policy INTERFACE -fsanitize=address,undefined)
endif()
