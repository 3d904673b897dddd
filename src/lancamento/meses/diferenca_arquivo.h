// The debit/credit difference file "CNDIFDC.DAT": finding the record of a key
// (date or month, branch, user, as the company's grouping options say) and
// adding an amount to its running total.
#pragma once

#include <cstdint>
#include <string>

#include "storage/records/difference_record.h"
#include "values/currency.h"
#include "values/qx_data.h"

namespace qx {

// Grouping modes of the difference keys.
inline constexpr uint16_t kDiferencaPorDataUsuario = 0;
inline constexpr uint16_t kDiferencaPorData = 1;
inline constexpr uint16_t kDiferencaPorMesUsuario = 2;
inline constexpr uint16_t kDiferencaPorMes = 3;

struct OpcoesDiferenca {
  uint16_t modo = kDiferencaPorDataUsuario;  // one of the four modes above
  bool porFilial = false;                    // keys also agree on the branch
};

struct ChaveDiferenca {
  CQXData data;
  uint16_t filial = 0;
  uint16_t usuario = 0;
};

// Where the lookup of a key ended.
struct LocalDiferenca {
  bool encontrada = false;
  // The key's record when found; else the first free slot, or 0 (append).
  uint32_t posicao = 0;
  // Some record read on the way holds a non-zero total.
  bool temDiferenca = false;
  // ARQ_OK when the key was found or every record was looked at; else the
  // status of the failing open or read, and the key may be stored further on.
  int status = 0;
};

// Whether a stored record belongs to the key (the branch is not looked at).
bool ChaveConfere(const DifferenceRecord& registro, const ChaveDiferenca& chave, uint16_t modo);

// The path of the difference file in a company folder.
std::string CaminhoDiferenca(const std::string& pasta);

// Scans the file for the key. A missing file is made (holding only its zero
// record); a file that cannot be opened or read ends the lookup without a
// match and with the failing status.
LocalDiferenca BuscaChaveDiferenca(const std::string& caminho, const OpcoesDiferenca& opcoes,
                                   const ChaveDiferenca& chave);

// Adds `valor` to the key's total, taking the first free slot (or appending)
// for a new key; a total that comes back to 0 frees its record. The new total
// goes to *novoTotal. Returns the status of the write, or of the failing open
// or read before anything was written; an empty date or a total that would
// overflow is refused with ARQ_PARAMETRO_INVALIDO.
int SomaDiferenca(const std::string& caminho, const OpcoesDiferenca& opcoes,
                  const ChaveDiferenca& chave, CURRENCY valor, CURRENCY* novoTotal);

}  // namespace qx
