#pragma once
// The batch of an import: its entries as the entry search finds them, its
// reservation in the company's suite database (no two imports, of this or
// any other process, share one), the earlier batch of the same lines, and
// the removal of its entries, also the undoing of an import stopped part way.
// A failing call throws FalhaServico; a failing database, FalhaLocal.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "outside/database/import_batches.h"
#include "reports/falha.h"
#include "reports/importacao/leitura.h"
#include "reports/sessao.h"
#include "values/qx_data.h"

namespace qx {

// The origin module of imported entries; the batch is the rest of the key.
inline constexpr uint32_t kModuloImportacao = 21;

// Gives the lines the origin key of import batch `lote`, from the current
// month; the lines as GravaLinhas takes them.
std::vector<const LinhaImportada*> LinhasDoLote(std::vector<LinhaLida>& lidas, uint32_t lote);

// Sets the filter to the live entries of import batch `lote` and counts them
// between two dates; BuscaLancamentos then hands out their keys.
int32_t ContaLote(SessaoLancamento& servico, uint32_t lote, CQXData de, CQXData ate);

// The entries of import batch `lote` between two dates, as search keys based
// at the month of `de`.
std::vector<int32_t> BuscaLote(SessaoLancamento& servico, uint32_t lote, CQXData de, CQXData ate);

// How many entries each month holds, of keys based at `base`.
std::map<uint16_t, int64_t> PorMes(CQXMesAno base, const std::vector<int32_t>& chaves);

// An entry that ExclusaoImportacao kept, and why.
struct ExclusaoRecusada {
  uint16_t mes;
  int32_t posicao;
  bool naoImportado;  // else its period is closed
};

// Removes the entries behind the keys with ExclusaoImportacao, all or
// nothing; the number removed.
uint32_t ExcluiChaves(SessaoLancamento& servico, CQXMesAno base, const std::vector<int32_t>& chaves,
                      std::vector<ExclusaoRecusada>* recusadas);

// The earlier batch that imported these lines (by their digest) and still
// has entries in the period.
std::optional<LoteImportado> LoteRepetido(SessaoLancamento& servico, const std::string& digesto,
                                          CQXData de, CQXData ate);

// A batch asked for by number.
enum class LotePedido { kReservado, kDeOutraImportacao, kComLancamentos };
LotePedido ReservaLotePedido(SessaoLancamento& servico, uint32_t lote, CQXData de, CQXData ate);

// The first free batch from the number of the current minute on, reserved,
// skipping those that earlier imports left entries of in the period without
// a reservation.
uint32_t ReservaLoteNovo(SessaoLancamento& servico, CQXData de, CQXData ate);

// Records what the batch imports: the digest of its lines and their number.
void RegistraLinhas(SessaoLancamento& servico, uint32_t lote, const std::string& digesto,
                    size_t linhas);

// How the undoing of a stopped import ended.
struct Desfeito {
  bool completo = false;              // nothing of the batch is left
  std::optional<size_t> restantes;    // entries left, when a search could count them
  std::optional<FalhaServico> falha;  // what kept it from finishing
};

// Removes every entry of the import's batch (no other import has its number),
// also those of a call whose answer never came. The object the import used
// goes first; when it fails (its server died with the call), a new object,
// which the service takes up from where the dead one stopped.
Desfeito DesfazLote(SessaoLancamento& servico, uint32_t lote, CQXData de, CQXData ate);

}  // namespace qx
