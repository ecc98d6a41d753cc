// Stands in for the series-processing tool in the Windows tests: writes the arguments it
// received, as the C runtime split its command line, one per line into "received.txt"
// in the current folder, the count first. It never runs anything.
#include <cstdio>

int main(int argc, char** argv) {
  std::FILE* out = std::fopen("received.txt", "wb");
  if (out == nullptr) return 2;
  std::fprintf(out, "%d\r\n", argc - 1);
  for (int i = 1; i < argc; ++i) std::fprintf(out, "%s\r\n", argv[i]);
  return std::fclose(out) == 0 ? 0 : 2;
}
