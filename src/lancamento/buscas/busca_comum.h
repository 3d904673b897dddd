// What the searches and listings share: the user's active branches, the month
// of a search bound, the key of a found entry, and the walk over the records
// of a month's entry file (opened with the entry operations' AbreArquivoMes).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "contract/chave_busca.h"
#include "lancamento/meses/arquivo_mes.h"
#include "outside/database/dados_df.h"
#include "storage/arq_status.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

class CLancamentoBase;

namespace qx {

inline constexpr char kUnidadeBusca[] = "LancamentoBase";

// Loads the active branches of the object's user. A failure is written to the
// error log under `funcao` and returned.
HRESULT CarregaFiliaisAtivas(CLancamentoBase& objeto, const char* funcao,
                             CQXDadosDF_FiliaisAtivas* filiais);

// The month of a search bound; the dates 1 and 1048248 and above count as 0.
inline CQXMesAno MesDoLimite(uint32_t data) { return CQXData(data).MesAno(); }

// Month files are named with two-digit years, which stand for 1984 to 2083:
// outside these months the names repeat those of months within, whose
// entries would come again with wrong dates (and whose searches would create
// files by the thousand). The searches keep to them.
inline constexpr CQXMesAno kPrimeiroMesArquivos = CQXMesAno::Make(1, 1984);
inline constexpr CQXMesAno kUltimoMesArquivos = CQXMesAno::Make(12, 2083);

// The months from primeiro to ultimo in ascending order, within the months
// the file names tell apart: for (CQXMesAno mes : Meses(primeiro, ultimo)).
class Meses {
 public:
  class Iterador {
   public:
    explicit Iterador(uint32_t valor) : m_valor(valor) {}
    CQXMesAno operator*() const { return CQXMesAno(m_valor); }
    Iterador& operator++() {
      ++m_valor;
      return *this;
    }
    bool operator!=(const Iterador& outro) const { return m_valor != outro.m_valor; }

   private:
    uint32_t m_valor;
  };

  Meses(CQXMesAno primeiro, CQXMesAno ultimo)
      : m_primeiro(std::max(primeiro, kPrimeiroMesArquivos).Value()),
        m_fim(std::max<uint32_t>(m_primeiro, std::min(ultimo, kUltimoMesArquivos).Value() + 1u)) {}
  Iterador begin() const { return Iterador(m_primeiro); }
  Iterador end() const { return Iterador(m_fim); }
  bool Vazio() const { return m_primeiro == m_fim; }
  // The first and the last month walked (when not Vazio).
  CQXMesAno Primeiro() const { return CQXMesAno(m_primeiro); }
  CQXMesAno Ultimo() const { return CQXMesAno(m_fim - 1); }

 private:
  uint32_t m_primeiro;
  uint32_t m_fim;
};

// The offsets a key holds, in months from the base month.
inline constexpr int kMesesAntesDaBase = 128;
inline constexpr int kMesesDepoisDaBase = 127;

// S_OK when every month from `primeiro` to `ultimo` has a file name of its
// own and its offset from `base` in a key (or the range is empty). Another
// range would give keys of other months, or the entries of other months: it
// is refused before any file is opened, with an error log line under
// `funcao` that names the range and what to do (kHrPeriodoBuscaLongo).
HRESULT VerificaMesesBusca(CLancamentoBase& objeto, const char* funcao, CQXMesAno primeiro,
                           CQXMesAno ultimo, CQXMesAno base);

// Reads positions 1, 2, ... of an open entry file and hands each record to
// visita(posicao, registro), which returns false to stop. Returns 0 at the end
// of the file or when visita stopped, else the failing read's status.
template <class Visita>
int PercorreRegistros(CQXarq& arquivo, Visita&& visita) {
  EntryRecord registro;
  for (uint32_t posicao = 1;; ++posicao) {
    const int status = arquivo.Le(posicao, &registro);
    if (status == ARQ_FIM_DE_ARQUIVO) return ARQ_OK;
    if (status != ARQ_OK) return status;
    if (!visita(posicao, registro)) return ARQ_OK;
  }
}

}  // namespace qx
