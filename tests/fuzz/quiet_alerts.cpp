// Linked into every fuzz target: files the targets cannot open are part of the input
// space, and their alert bytes would only flood the fuzzer's output.
#include "text_file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  talvoric::SetOpenFailureHandler(nullptr);
  return 0;
}
