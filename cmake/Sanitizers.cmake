# AddressSanitizer + UndefinedBehaviorSanitizer for the whole build. Curves, counts and image
# sizes truncate floats to integers, so float-to-integer overflow is checked too; any finding
# stops the program so that tests fail on it.
if(ORVANE_SANITIZE)
  set(ORVANE_SANITIZER_FLAGS
    -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
  add_compile_options(${ORVANE_SANITIZER_FLAGS})
  add_link_options(${ORVANE_SANITIZER_FLAGS})
endif()

# Fuzz builds instrument every library for coverage, so libFuzzer can steer into the parsers.
if(ORVANE_FUZZERS)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow
    -fno-sanitize-recover=all -fno-omit-frame-pointer)
endif()
