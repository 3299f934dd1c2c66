# Writes OUTPUT, a C++ file defining BannerPng() over the bytes of INPUT.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUTPUT}" "// Generated from ${NAME}; do not edit.\n#include \"app/banner.h\"\n\n"
  "namespace {\nconst char kData[] = {${bytes}};\n}  // namespace\n\n"
  "const Bytes& BannerPng() {\n  static const Bytes png(std::string_view(kData, sizeof kData));\n"
  "  return png;\n}\n")
