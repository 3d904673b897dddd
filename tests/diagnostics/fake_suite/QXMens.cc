// Stand-in for the suite's error-report library: appends each call's ten
// values as one tab-separated line to the file named by QX_FAKE_QXMENS_LOG
// (null texts as "<null>", line feeds inside texts as "\n").
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Show(const char* text) {
  if (text == nullptr) return "<null>";
  std::string shown;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '\n') {
      shown += "\\n";
    } else {
      shown += *c;
    }
  }
  return shown;
}

}  // namespace

extern "C" int QXTrataErroExported(int32_t codigo, int32_t hr, int32_t numero, const char* empresa,
                                   const char* unidade, int linha, int flag, const char* reservado,
                                   const char* executavel, const char* texto) {
  const char* path = std::getenv("QX_FAKE_QXMENS_LOG");
  if (path == nullptr) return 0;
  FILE* file = std::fopen(path, "a");
  if (file == nullptr) return 0;
  std::fprintf(file, "%08X\t%08X\t%08X\t%s\t%s\t%d\t%d\t%s\t%s\t%s\n",
               static_cast<unsigned>(codigo), static_cast<unsigned>(hr),
               static_cast<unsigned>(numero), Show(empresa).c_str(), Show(unidade).c_str(), linha,
               flag, Show(reservado).c_str(), Show(executavel).c_str(), Show(texto).c_str());
  std::fclose(file);
  return 1;
}
