// qxsample PASTA: writes a small sample company folder for trying the tools:
// three months of entries (January to March 2024) with complements, split
// lines, quantities and foreign-currency amounts, the debit/credit
// differences, import layouts, explanatory notes and the control file.
#include <iostream>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/owner_access.h"
#include "sample.h"

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
    std::cerr << "uso: qxsample PASTA   (criada só para o dono quando falta; os arquivos de "
                 "exemplo dela são substituídos)\n";
    return 2;
  }
  const std::string folder = argv[1];
  if (const int error = qx::MakeFolders(folder)) {
    std::cerr << "qxsample: cannot make " << folder << " (system error " << error << ")\n";
    return 1;
  }
  try {
    std::vector<std::string> made;
    qx::sample::DifferenceBook book;
    for (int month = 1; month <= 3; ++month) {
      qx::sample::WriteMonth(folder, CQXMesAno::Make(month, 2024), &book, &made);
    }
    qx::sample::WriteDifferences(folder, book, &made);
    qx::sample::WriteImportLayouts(folder, &made);
    qx::sample::WriteNotes(folder, CQXMesAno::Make(1, 2024), &made);
    qx::sample::WriteControlFile(folder, made);
  } catch (CFileException* e) {
    std::cerr << "qxsample: não consigo escrever " << e->m_strFileName << " (causa " << e->m_cause
              << ", erro do sistema " << e->m_lOsError << ")\n";
    e->Delete();
    return 1;
  }
  return 0;
}
