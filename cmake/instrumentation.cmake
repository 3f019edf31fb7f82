# Sanitizers and fuzzing coverage for everything a tree builds, GoogleTest
# included: a library left uninstrumented hides what it does to the rest.
if(DISEQC_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(DISEQC_FUZZ)
  # Coverage for the fuzzer in every library it drives; the fuzz targets link
  # libFuzzer itself.
  add_compile_options(-g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
