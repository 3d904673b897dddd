// Records of "CNFORIMP.DAT", the company's named import layouts.
//
// A record file of the company folder with 40-byte records (REGFORMATOIMPORT),
// packed; record 0 is all zero and layouts occupy positions 1 to n, the
// position being the layout's identifier. Texts are Windows-1252, NUL-padded
// (a field filled to its end has no terminator):
//   +0  cNomeFormatoImportacao  12 bytes  layout name
//   +12 cSequenciaContabil      22 bytes  letter sequence of the accounting part
//   +34 cSequenciaGerencial      4 bytes  letter sequence of the managerial part
//   +38 cDelimitador             1 byte   field delimiter: , : ; or |
//   +39 cFiller                  1 byte   0
// Removing a layout copies the others into "CNFORIMP.TMP", which then takes
// the file's place. A file that had existed and vanished is made again with
// the default layout at position 1.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct REGFORMATOIMPORT {
  char cNomeFormatoImportacao[12];
  char cSequenciaContabil[22];
  char cSequenciaGerencial[4];
  unsigned char cDelimitador;
  unsigned char cFiller;
};

#pragma pack(pop)

static_assert(sizeof(REGFORMATOIMPORT) == 40);
static_assert(offsetof(REGFORMATOIMPORT, cNomeFormatoImportacao) == 0);
static_assert(offsetof(REGFORMATOIMPORT, cSequenciaContabil) == 12);
static_assert(offsetof(REGFORMATOIMPORT, cSequenciaGerencial) == 34);
static_assert(offsetof(REGFORMATOIMPORT, cDelimitador) == 38);
static_assert(offsetof(REGFORMATOIMPORT, cFiller) == 39);

namespace qx {

inline constexpr char kImportLayoutFileName[] = "CNFORIMP.DAT";
inline constexpr char kImportLayoutTempFileName[] = "CNFORIMP.TMP";
inline constexpr uint32_t kImportLayoutRecordSize = sizeof(REGFORMATOIMPORT);

// The delimiters a layout may use.
inline constexpr char kImportDelimiters[] = ",:;|";

// The default layout: "Padrão" in Windows-1252.
inline constexpr char kDefaultLayoutName[] = "Padr\xE3o";
inline constexpr char kDefaultLayoutSequenciaContabil[] = "CDEFGH";
inline constexpr char kDefaultLayoutSequenciaGerencial[] = "JK";
inline constexpr char kDefaultLayoutDelimiter = ',';

}  // namespace qx
